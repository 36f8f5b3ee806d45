#include "platform/qt/page_setup_dialog.h"

#include <QComboBox>
#include <algorithm>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/qt_printer_setup.h"

namespace vorel::platform {
namespace {

// The papers offered, the usual Japanese and international ones first.
constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4, QPageSize::A3,     QPageSize::A5,    QPageSize::B4,
                                             QPageSize::B5, QPageSize::JisB4,  QPageSize::JisB5, QPageSize::Letter,
                                             QPageSize::Legal};

template <typename Widget>
Widget* Named(Widget* widget, const char* name, const QString& spoken) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setAccessibleName(spoken);
  return widget;
}

}  // namespace

QString PageSetupDialog::PdfItemText() { return QStringLiteral("PDF ファイルに出力"); }

PageSetupDialog::PageSetupDialog(const PrinterSetup& current, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("dlgPrinterSetup"));
  setWindowTitle(QStringLiteral("プリンタの設定"));
  setModal(true);

  cmbPrinter = Named(new QComboBox(this), "cmbPrinter", QStringLiteral("プリンター"));
  cmbPrinter->addItems(QPrinterInfo::availablePrinterNames());
  cmbPrinter->addItem(PdfItemText());
  txtOutputFile = Named(new QLineEdit(this), "txtOutputFile", QStringLiteral("出力ファイル"));
  cmdBrowse = Named(new QPushButton(QStringLiteral("参照(&B)..."), this), "cmdBrowse", QStringLiteral("参照"));
  cmbPaperSize = Named(new QComboBox(this), "cmbPaperSize", QStringLiteral("用紙サイズ"));
  for (QPageSize::PageSizeId id : kPapers) cmbPaperSize->addItem(QPageSize::name(id), QPageSize::key(id));
  auto* orientation = Named(new QGroupBox(QStringLiteral("印刷の向き"), this), "fraOrientation",
                            QStringLiteral("印刷の向き"));
  optPortrait = Named(new QRadioButton(QStringLiteral("縦(&P)"), orientation), "optPortrait", QStringLiteral("縦"));
  optLandscape = Named(new QRadioButton(QStringLiteral("横(&L)"), orientation), "optLandscape", QStringLiteral("横"));
  auto* orientationRow = new QHBoxLayout(orientation);
  orientationRow->addWidget(optPortrait);
  orientationRow->addWidget(optLandscape);
  orientationRow->addStretch();

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(txtOutputFile, 1);
  fileRow->addWidget(cmdBrowse);
  auto* form = new QFormLayout;
  auto addRow = [this, form](const QString& caption, QWidget* field, QLayout* row = nullptr) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    if (row) form->addRow(label, row);
    else form->addRow(label, field);
  };
  addRow(QStringLiteral("プリンター(&N)："), cmbPrinter);
  addRow(QStringLiteral("出力ファイル(&F)："), txtOutputFile, fileRow);
  addRow(QStringLiteral("用紙サイズ(&S)："), cmbPaperSize);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(orientation);
  layout->addWidget(buttons);
  txtOutputFile->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

  // Opens on the current choice: its printer, or the PDF file.
  const bool toPdf = current.printerName.empty() && (!current.outputFile.empty() || cmbPrinter->count() == 1);
  const int printer = cmbPrinter->findText(QString::fromStdString(current.printerName));
  cmbPrinter->setCurrentIndex(toPdf || printer < 0 ? (toPdf ? cmbPrinter->count() - 1 : 0) : printer);
  txtOutputFile->setText(QString::fromStdString(current.outputFile));
  const QPageSize paper = PageSizeFromName(current.paperName);
  const int paperIndex = cmbPaperSize->findData(paper.isValid() ? paper.key() : QPageSize::key(QPageSize::A4));
  cmbPaperSize->setCurrentIndex(std::max(paperIndex, 0));
  (current.landscape ? optLandscape : optPortrait)->setChecked(true);
  ShowOutputFile();
  connect(cmbPrinter, &QComboBox::currentIndexChanged, this, &PageSetupDialog::ShowOutputFile);
  connect(cmdBrowse, &QPushButton::clicked, this, &PageSetupDialog::Browse);
}

void PageSetupDialog::ShowOutputFile() {
  const bool toPdf = cmbPrinter->currentText() == PdfItemText();
  txtOutputFile->setEnabled(toPdf);
  cmdBrowse->setEnabled(toPdf);
}

void PageSetupDialog::Browse() {
  FileDialogRequest request;
  request.save = true;
  request.filter = "PDF ファイル (*.pdf)|*.pdf";
  request.initialPath = txtOutputFile->text().toStdString();
  if (std::optional<std::string> path = CurrentPrompter().ChooseFile(request); path && !path->empty())
    txtOutputFile->setText(QString::fromStdString(*path));
}

PrinterSetup PageSetupDialog::Choice() const {
  PrinterSetup setup;
  if (cmbPrinter->currentText() == PdfItemText()) setup.outputFile = txtOutputFile->text().toStdString();
  else setup.printerName = cmbPrinter->currentText().toStdString();
  setup.paperName = cmbPaperSize->currentData().toString().toStdString();
  setup.landscape = optLandscape->isChecked();
  return setup;
}

}  // namespace vorel::platform
