// Page setup: where to print (a printer, or a PDF file), the paper and its
// orientation, all on one page so that the paper is seen at once.
#pragma once

#include <QDialog>

#include "platform/prompter.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorel::platform {

class PageSetupDialog : public QDialog {
  Q_OBJECT
 public:
  PageSetupDialog(const PrinterSetup& current, QWidget* owner);

  // The choice as the dialog shows it.
  PrinterSetup Choice() const;

  // The item of cmbPrinter that stands for a PDF file rather than a printer.
  static QString PdfItemText();

  QComboBox* cmbPrinter;
  QLineEdit* txtOutputFile;
  QPushButton* cmdBrowse;
  QComboBox* cmbPaperSize;
  QRadioButton* optPortrait;
  QRadioButton* optLandscape;

 private:
  void ShowOutputFile();
  void Browse();
};

}  // namespace vorel::platform
