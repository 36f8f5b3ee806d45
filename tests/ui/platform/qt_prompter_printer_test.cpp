// The desktop prompter's printer setup: Qt's print dialog, and the printer
// choice carried to and from a QPrinter.
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>
#include <QTimer>

#include "platform/qt/qt_printer_setup.h"
#include "platform/qt/qt_prompter.h"
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
  // Runs the printer setup and confirms or cancels Qt's print dialog.
  std::optional<PrinterSetup> Setup(const PrinterSetup& current, bool accept, QString* title, QString* okText) {
    QTimer::singleShot(0, [accept, title, okText] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      *title = dialog->windowTitle();
      auto* buttons = dialog->findChild<QDialogButtonBox*>();
      ASSERT_NE(buttons, nullptr);
      *okText = buttons->button(QDialogButtonBox::Ok)->text();
      if (accept)
        dialog->accept();
      else
        dialog->reject();
    });
    QtPrompter qt;
    return qt.SetupPrinter(current);
  }
};

TEST_F(QtPrompterPrinterTest, ThePrintDialogOpensOnTheCurrentChoiceAndCancelAnswersNothing) {
  PrinterSetup current;
  current.outputFile = dir.File("out.pdf");
  current.paperName = "Letter";
  current.landscape = true;
  QString title, okText;
  const std::optional<PrinterSetup> chosen = Setup(current, true, &title, &okText);
  EXPECT_EQ(title, QStringLiteral("プリンタの設定"));
  EXPECT_EQ(okText, QStringLiteral("OK"));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->outputFile, current.outputFile);
  EXPECT_EQ(chosen->paperName, "Letter");
  EXPECT_TRUE(chosen->landscape);

  EXPECT_FALSE(Setup(current, false, &title, &okText).has_value());
}

}  // namespace
}  // namespace vorel::platform
