// The desktop prompter's printer setup: the page setup dialog, and the
// printer choice carried to and from a QPrinter.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>
#include <QPrinter>
#include <QTimer>

#include "platform/qt/page_setup_dialog.h"
#include "platform/qt/qt_printer_setup.h"
#include "platform/qt/qt_prompter.h"
#include "ui/accessibility_support.h"
#include "ui/ui_test_support.h"

namespace vorel::platform {
namespace {

TEST(QtPrinterSetupTest, PapersAreFoundByTheirKeysInAnyLetterCase) {
  EXPECT_EQ(PageSizeFromName("A4").id(), QPageSize::A4);
  EXPECT_EQ(PageSizeFromName("letter").id(), QPageSize::Letter);
  // "B5" is the Japanese B5 in Qt's keys, the ISO one is "ISOB5".
  EXPECT_EQ(PageSizeFromName("B5").id(), QPageSize::JisB5);
  EXPECT_EQ(PageSizeFromName("ISOB5").id(), QPageSize::B5);
  for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
    const auto pageId = static_cast<QPageSize::PageSizeId>(id);
    if (pageId != QPageSize::Custom) EXPECT_EQ(PageSizeFromName(QPageSize::key(pageId).toStdString()).id(), pageId);
  }
  EXPECT_FALSE(PageSizeFromName("").isValid());
  EXPECT_FALSE(PageSizeFromName("Napkin").isValid());
}

TEST(QtPrinterSetupTest, APdfChoiceSurvivesTheWayThroughAPrinter) {
  PrinterSetup pdf;
  pdf.outputFile = "/tmp/グラフ.pdf";
  pdf.paperName = "A5";
  pdf.landscape = true;
  QPrinter printer;
  ApplyPrinterSetup(printer, pdf);
  EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
  const PrinterSetup back = PrinterSetupOf(printer);
  EXPECT_EQ(back.outputFile, pdf.outputFile);
  EXPECT_TRUE(back.printerName.empty());
  EXPECT_EQ(back.paperName, "A5");
  EXPECT_TRUE(back.landscape);

  // An unknown paper leaves the printer's own; portrait comes back as portrait.
  pdf.paperName = "Napkin";
  pdf.landscape = false;
  QPrinter other;
  const QString before = other.pageLayout().pageSize().key();
  ApplyPrinterSetup(other, pdf);
  EXPECT_EQ(PrinterSetupOf(other).paperName, before.toStdString());
  EXPECT_FALSE(PrinterSetupOf(other).landscape);
}

class QtPrompterPrinterTest : public ui::UiTest {
 protected:
  // Runs the printer setup; `use` looks at the dialog and changes it, then
  // the dialog is confirmed or cancelled.
  std::optional<PrinterSetup> Setup(const PrinterSetup& current, bool accept,
                                    const std::function<void(PageSetupDialog&)>& use) {
    QTimer::singleShot(0, [accept, use] {
      auto* dialog = qobject_cast<PageSetupDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      use(*dialog);
      if (accept)
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      else
        dialog->reject();
    });
    QtPrompter qt;
    return qt.SetupPrinter(current);
  }
};

TEST_F(QtPrompterPrinterTest, PageSetupShowsThePaperAndItsOrientationAtOnceAndOpensOnTheCurrentChoice) {
  PrinterSetup current;
  current.outputFile = dir.File("out.pdf");
  current.paperName = "Letter";
  current.landscape = true;
  QString title, okText;
  bool paperInSight = false;
  std::optional<PrinterSetup> chosen = Setup(current, true, [&](PageSetupDialog& dialog) {
    title = dialog.windowTitle();
    okText = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text();
    // Nothing to open or turn to: the paper and the orientation stand on the one page.
    paperInSight = dialog.cmbPaperSize->isVisible() && dialog.optPortrait->isVisible() &&
                   dialog.optLandscape->isVisible() && dialog.findChildren<QTabWidget*>().isEmpty();
    EXPECT_EQ(ui::UnnamedControls(&dialog), QStringList());
  });
  EXPECT_EQ(title, QStringLiteral("プリンタの設定"));
  EXPECT_EQ(okText, QStringLiteral("OK"));
  EXPECT_TRUE(paperInSight);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->outputFile, current.outputFile);
  EXPECT_TRUE(chosen->printerName.empty());
  EXPECT_EQ(chosen->paperName, "Letter");
  EXPECT_TRUE(chosen->landscape);

  // Another paper, upright, into another file.
  chosen = Setup(current, true, [&](PageSetupDialog& dialog) {
    dialog.cmbPaperSize->setCurrentIndex(dialog.cmbPaperSize->findData(QStringLiteral("A5")));
    dialog.optPortrait->click();
    dialog.txtOutputFile->setText(QString::fromStdString(dir.File("other.pdf")));
  });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->outputFile, dir.File("other.pdf"));
  EXPECT_EQ(chosen->paperName, "A5");
  EXPECT_FALSE(chosen->landscape);

  EXPECT_FALSE(Setup(current, false, [](PageSetupDialog&) {}).has_value());
}

}  // namespace
}  // namespace vorel::platform
