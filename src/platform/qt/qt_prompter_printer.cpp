// The platform's printer setup: the printers or a PDF file, the paper and the
// orientation on one page (PageSetupDialog); the choice to and from a QPrinter.
#include <QApplication>
#include <QPageLayout>
#include <QPointer>
#include <QPrinter>

#include "platform/qt/page_setup_dialog.h"
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
  // On the heap: the owner may go away while the dialog is open.
  QPointer<PageSetupDialog> dialog = new PageSetupDialog(current, QApplication::activeWindow());
  const int result = dialog->exec();
  std::optional<PrinterSetup> chosen;
  if (dialog && result == QDialog::Accepted) chosen = dialog->Choice();
  delete dialog.data();
  return chosen;
}

}  // namespace vorel::platform
