// The platform's printer setup: Qt's print dialog, which offers the printers,
// printing to a PDF file, the paper and the orientation.
#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "platform/qt/qt_printer_setup.h"
#include "platform/qt/qt_prompter.h"

namespace vorel::platform {

QPageSize PageSizeFromName(const std::string& name) {
  if (name.empty()) return QPageSize();
  const QString key = QString::fromStdString(name);
  for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
    const auto pageId = static_cast<QPageSize::PageSizeId>(id);
    if (pageId != QPageSize::Custom && QPageSize::key(pageId).compare(key, Qt::CaseInsensitive) == 0)
      return QPageSize(pageId);
  }
  return QPageSize();
}

void ApplyPrinterSetup(QPrinter& printer, const PrinterSetup& setup) {
  if (setup.printerName.empty() && !setup.outputFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(setup.outputFile));
  } else if (!setup.printerName.empty()) {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(QString::fromStdString(setup.printerName));
  }
  const QPageSize paper = PageSizeFromName(setup.paperName);
  if (paper.isValid()) printer.setPageSize(paper);
  printer.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

PrinterSetup PrinterSetupOf(const QPrinter& printer) {
  PrinterSetup setup;
  if (printer.outputFormat() == QPrinter::PdfFormat)
    setup.outputFile = printer.outputFileName().toStdString();
  else
    setup.printerName = printer.printerName().toStdString();
  setup.paperName = printer.pageLayout().pageSize().key().toStdString();
  setup.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  return setup;
}

std::optional<PrinterSetup> QtPrompter::SetupPrinter(const PrinterSetup& current) {
  QPrinter printer(QPrinter::HighResolution);
  ApplyPrinterSetup(printer, current);
  // On the heap: the owner may go away while the dialog is open.
  QPointer<QPrintDialog> dialog = new QPrintDialog(&printer, QApplication::activeWindow());
  dialog->setObjectName(QStringLiteral("dlgPrinterSetup"));
  dialog->setWindowTitle(QStringLiteral("プリンタの設定"));
  // Which graphs and how many copies is the print dialog's business, not page setup's.
  dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  // Setup only chooses; its confirming button must not promise a print.
  if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
      ok->setText(QStringLiteral("OK"));
      ok->setAccessibleName(QStringLiteral("OK"));
    }
  const int result = dialog->exec();
  delete dialog.data();
  if (result != QDialog::Accepted) return std::nullopt;
  return PrinterSetupOf(printer);
}

}  // namespace vorel::platform
