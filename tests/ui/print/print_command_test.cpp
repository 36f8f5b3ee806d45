// The print command from the main window: page setup's choice, the sheets
// that land in the PDF file, the fixed order, the places, the colours, and
// the PDF file asked for when there is no printer.
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "analysis/result.h"
#include "platform/paths.h"
#include "ui/print/pdf_probe.h"
#include "ui/print/print_run.h"
#include "ui/results/graph_window.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

using pdf::PdfPageCount;
using pdf::PdfWord;
using pdf::PdfWords;

constexpr int kMonth = 1, kWeek = 4, kWeekday = 8, kHour = 16, kOs = 32, kBrowser = 64, kPage = 512;

class PrintCommandTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ForgetPrinterChoice();
  }
  void TearDown() override {
    ForgetPrinterChoice();
    UiTest::TearDown();
  }

  // Every graph with one slot or entry, each count telling the graph apart.
  static void FillEveryGraph(bool withOs = true) {
    analysis::AnalysisResult& r = analysis::Result();
    r.Total = 100;
    r.Month[3] = 11;
    r.WWeek[10] = 12;
    r.DWeek[2] = 13;
    r.Date[17] = 14;
    r.Time[13] = 15;
    if (withOs) r.OS.Append("osname", 16);
    r.Brws.Append("brwsname", 17);
    r.Agent.Append("agentname", 18);
    r.Host.Append("hostname", 19);
    r.Ref.Append("refname", 20);
    r.Page.Append("pagename", 21);
    r.RobotTotal = 22;
    r.Robot.Append("robotname", 22);
  }

  frmMain& OpenPrintingFrame() {
    frmMain& main = OpenFrame();
    main.EnableResultCommands(true);
    return main;
  }

  // Page setup choosing a PDF file.
  void ChoosePdf(frmMain& main, const std::string& path, const std::string& paper = "A4", bool landscape = false) {
    platform::PrinterSetup setup;
    setup.outputFile = path;
    setup.paperName = paper;
    setup.landscape = landscape;
    prompter.printers.push_back(setup);
    main.MenuItem("mnuFilePageSetup")->trigger();
  }

  // The print command with the dialog confirmed as loaded.
  static void PrintFromMenu(frmMain& main) {
    QTimer::singleShot(0, [] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
    });
    main.MenuItem("mnuFilePrint")->trigger();
  }

  void Print(frmMain& main, int printWindow, int paperType) {
    settings::SetParam("PrintWindow", printWindow);
    settings::SetParam("PaperType", paperType);
    PrintFromMenu(main);
  }

  // The sheet's number: the words of the bottom margin, left to right.
  static QString SheetNumber(std::vector<PdfWord> words) {
    std::erase_if(words, [](const PdfWord& w) { return w.y < 0.9; });
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) { return a.x < b.x; });
    QStringList texts;
    for (const PdfWord& w : words) texts << w.text;
    return texts.join(QLatin1Char(' '));
  }
  static bool HasWordStartingWith(const std::vector<PdfWord>& words, const QString& start) {
    return std::any_of(words.begin(), words.end(), [&](const PdfWord& w) { return w.text.startsWith(start); });
  }

  // A word of a graph's heading: its caption, the log or the period.
  static bool IsHeading(const PdfWord& w) {
    return w.text.endsWith(QStringLiteral("解析")) || w.text.startsWith(QStringLiteral("ログファイル：")) ||
           w.text.startsWith(QStringLiteral("解析期間：")) || w.text == QStringLiteral("～") || w.text == QStringLiteral("〜") ||
           w.text.contains(QLatin1Char('/'));
  }

  // A word on the line of a heading word: the log's path may come apart
  // into several words, and only the first of them names the line.
  static bool OnHeadingLine(const std::vector<PdfWord>& words, const PdfWord& w) {
    return std::any_of(words.begin(), words.end(),
                       [&](const PdfWord& h) { return IsHeading(h) && std::abs(h.y - w.y) < 0.004; });
  }

  // Quadrant of a word on a page: 0 top left, 1 top right, 2 bottom left, 3 bottom right; -1 when absent.
  static int Place(const std::vector<PdfWord>& words, const char* text) {
    for (const PdfWord& w : words)
      if (w.text == QString::fromUtf8(text)) return (w.x < 0.5 ? 0 : 1) + (w.y < 0.5 ? 0 : 2);
    return -1;
  }
};

TEST_F(PrintCommandTest, PageSetupKeepsTheChoiceForTheRunAndCancelChangesNothing) {
  frmMain& main = OpenPrintingFrame();
  const std::string path = dir.File("setup.pdf");
  ChoosePdf(main, path, "A5", true);
  ASSERT_TRUE(PrinterChoice().has_value());
  EXPECT_EQ(PrinterChoice()->outputFile, path);

  prompter.printers.push_back(std::nullopt);  // cancelled
  main.MenuItem("mnuFilePageSetup")->trigger();
  ASSERT_EQ(prompter.printerRequests.size(), 2u);
  EXPECT_TRUE(prompter.printerRequests[0].outputFile.empty());
  // The second setup opened on the first one's choice, and its cancel kept it.
  EXPECT_EQ(prompter.printerRequests[1].outputFile, path);
  EXPECT_EQ(prompter.printerRequests[1].paperName, "A5");
  EXPECT_TRUE(prompter.printerRequests[1].landscape);
  ASSERT_TRUE(PrinterChoice().has_value());
  EXPECT_EQ(PrinterChoice()->paperName, "A5");

  // Printing goes there, on A5 across, without asking for a file.
  FillEveryGraph();
  Print(main, kMonth, 0);
  EXPECT_TRUE(prompter.fileRequests.empty());
  EXPECT_EQ(PdfPageCount(path), 1);
  const auto [width, height] = pdf::PdfPageSize(path);
  EXPECT_NEAR(width, 595.3, 1.0);
  EXPECT_NEAR(height, 419.5, 1.0);
}

TEST_F(PrintCommandTest, SheetsFollowTheNumberOfGraphsPerSheetWithNoBlankSheetAfterTheLast) {
  frmMain& main = OpenPrintingFrame();
  const std::string path = dir.File("sheets.pdf");
  ChoosePdf(main, path);
  FillEveryGraph();
  const int five = kMonth | kWeek | kWeekday | kOs | kPage;

  Print(main, five, 1);
  ASSERT_EQ(PdfPageCount(path), 3);
  // Each sheet numbered in its bottom margin; each graph headed by its caption, log and period.
  for (int page = 1; page <= 3; ++page) {
    const std::vector<PdfWord> words = PdfWords(path, page);
    EXPECT_EQ(SheetNumber(words), QStringLiteral("%1 / 3").arg(page));
    for (const PdfWord& w : words)
      if (w.text == QStringLiteral("/")) EXPECT_NEAR(w.x, 0.5, 0.05);
    EXPECT_TRUE(HasWordStartingWith(words, QStringLiteral("ログファイル：")));
    const QString logName = QString::fromStdString(settings::ParamText("LogFile", 1)).section(QLatin1Char('/'), -1);
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const PdfWord& w) { return w.text.endsWith(logName); }));
    EXPECT_TRUE(HasWordStartingWith(words, QStringLiteral("解析期間：")));
  }
  EXPECT_EQ(Place(PdfWords(path, 1), "週別解析"), 1);
  EXPECT_EQ(Place(PdfWords(path, 3), "ページ別解析"), 0);
  // Two to a sheet: month left and week right; the last sheet holds the page graph on the left alone.
  EXPECT_EQ(Place(PdfWords(path, 1), "11"), 2);
  EXPECT_EQ(Place(PdfWords(path, 1), "12"), 3);
  const std::vector<PdfWord> last = PdfWords(path, 3);
  EXPECT_NE(Place(last, "pagename"), -1);
  for (const PdfWord& w : last)
    if (w.y < 0.9) EXPECT_LT(w.x, 0.5) << w.text.toStdString();

  Print(main, five, 2);
  ASSERT_EQ(PdfPageCount(path), 2);
  EXPECT_EQ(SheetNumber(PdfWords(path, 2)), QStringLiteral("2 / 2"));
  const std::vector<PdfWord> second = PdfWords(path, 2);
  EXPECT_EQ(Place(second, "pagename"), 0);
  for (const PdfWord& w : second) {
    if (w.y > 0.9) continue;  // the sheet's number
    EXPECT_LT(w.x, 0.5) << w.text.toStdString();
    EXPECT_LT(w.y, 0.5) << w.text.toStdString();
  }

  Print(main, kBrowser, 0);
  ASSERT_EQ(PdfPageCount(path), 1);
  EXPECT_NE(Place(PdfWords(path, 1), "brwsname"), -1);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PrintCommandTest, AllGraphsPrintInTheFixedOrderInsideTheMarginAndAnEmptyGraphKeepsItsPlace) {
  frmMain& main = OpenPrintingFrame();
  const std::string path = dir.File("all.pdf");
  ChoosePdf(main, path);
  FillEveryGraph(/*withOs=*/false);
  // The default: 4095, every box, the robots' among them.
  Print(main, settings::ParamInt("PrintWindow"), 2);
  ASSERT_EQ(PdfPageCount(path), 3);
  const std::vector<PdfWord> p1 = PdfWords(path, 1), p2 = PdfWords(path, 2), p3 = PdfWords(path, 3);
  EXPECT_EQ(Place(p1, "11"), 0);  // month
  EXPECT_EQ(Place(p1, "12"), 1);  // week
  EXPECT_EQ(Place(p1, "13"), 2);  // weekday
  EXPECT_EQ(Place(p1, "14"), 3);  // date
  EXPECT_EQ(Place(p2, "15"), 0);  // hour; the empty OS graph leaves the top right blank
  // …but for its heading.
  for (const PdfWord& w : p2)
    if (!OnHeadingLine(p2, w)) {
      EXPECT_FALSE(w.x > 0.5 && w.y < 0.5) << w.text.toStdString();
    }
  EXPECT_EQ(Place(p2, "ＯＳ別解析"), 1);
  EXPECT_EQ(Place(p2, "brwsname"), 2);
  EXPECT_EQ(Place(p2, "agentname"), 3);
  EXPECT_EQ(Place(p3, "hostname"), 0);
  EXPECT_EQ(Place(p3, "refname"), 1);
  EXPECT_EQ(Place(p3, "pagename"), 2);
  EXPECT_EQ(Place(p3, "robotname"), 3);
  // The graphs stay inside the tenth margins; the sheet's number stands in the bottom one.
  int sheet = 0;
  for (const auto* page : {&p1, &p2, &p3}) {
    EXPECT_EQ(SheetNumber(*page), QStringLiteral("%1 / 3").arg(++sheet));
    for (const PdfWord& w : *page) {
      if (w.y > 0.9) continue;
      EXPECT_GT(w.x, 0.1);
      EXPECT_LT(w.x, 0.9);
      EXPECT_GT(w.y, 0.1);
    }
  }
}

TEST_F(PrintCommandTest, OpenWindowsPrintWithTheirColoursClosedOnesWithTheSettings) {
  settings::SetParam("GraphPattern", 0);  // solid
  settings::SetParam("GraphMonth", "000000255");
  settings::SetParam("GraphWeek", "000255000");
  frmMain& main = OpenPrintingFrame();
  main.ShowResultWindow(ResultSlot::Month);
  ASSERT_NE(main.Graph(GraphKind::Month), nullptr);
  main.Graph(GraphKind::Month)->SetColor(0x000000, 0xFFFFFF, 0x0000FF);  // red bars
  const std::string path = dir.File("colours.pdf");
  ChoosePdf(main, path);
  FillEveryGraph();
  Print(main, kMonth | kWeek, 1);
  const QImage page = pdf::RenderPdfPage(path, 1, 40, dir.File("colours"));
  ASSERT_FALSE(page.isNull());
  int red = 0, blue = 0, greenRight = 0, greenLeft = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 60 && c.blue() < 60) ++red;
      if (c.blue() > 200 && c.red() < 60 && c.green() < 60) ++blue;
      if (c.green() > 200 && c.red() < 60 && c.blue() < 60) ++(x < page.width() / 2 ? greenLeft : greenRight);
    }
  EXPECT_GT(red, 100);
  EXPECT_EQ(blue, 0);
  EXPECT_GT(greenRight, 100);
  EXPECT_EQ(greenLeft, 0);
}

TEST_F(PrintCommandTest, WithoutAnyPrinterThePrintAsksForAPdfFile) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  frmMain& main = OpenPrintingFrame();
  FillEveryGraph();
  const std::string path = dir.File("graphs.pdf");

  prompter.files.push_back(std::nullopt);  // cancelled: nothing printed, nothing said
  Print(main, kMonth | kHour, 1);
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_TRUE(prompter.fileRequests[0].save);
  EXPECT_NE(prompter.fileRequests[0].filter.find("*.pdf"), std::string::npos);
  EXPECT_FALSE(platform::FileExists(path));
  EXPECT_TRUE(prompter.messages.empty());

  prompter.files.push_back(path);
  Print(main, kMonth | kHour, 1);
  EXPECT_EQ(PdfPageCount(path), 1);
  EXPECT_EQ(Place(PdfWords(path, 1), "15"), 3);

  // An existing file is replaced only when the user agrees.
  const std::string before = vorel::testing::ReadFile(path);
  prompter.files.push_back(path);
  prompter.answers.push_back(platform::MessageAnswer::No);
  Print(main, kMonth | kHour | kBrowser, 1);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(vorel::testing::ReadFile(path), before);
  prompter.files.push_back(path);
  prompter.answers.push_back(platform::MessageAnswer::Yes);
  Print(main, kMonth | kHour | kBrowser, 1);
  EXPECT_EQ(PdfPageCount(path), 2);
}

TEST_F(PrintCommandTest, APrinterThatFailsEndsThePrintSilently) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
  frmMain& main = OpenPrintingFrame();
  FillEveryGraph();
  platform::PrinterSetup gone;
  gone.printerName = "vorel-no-such-printer";
  EXPECT_FALSE(PrintSelectedGraphs(gone, &main));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(PrintCommandTest, APdfFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  frmMain& main = OpenPrintingFrame();
  const std::string path = dir.File("missing/folder/graphs.pdf");
  ChoosePdf(main, path);
  FillEveryGraph();
  prompter.answers.push_back(platform::MessageAnswer::Cancel);
  Print(main, kMonth, 0);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "ファイルの書き込みに失敗しました。\r\n" + path);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST_F(PrintCommandTest, TheSampleLogPrintsFourGraphsOnOneSheet) {
  frmMain& main = OpenPrintingFrame();
  main.AnalyseFile(std::string(VOREL_SOURCE_DIR) + "/data/sample-access.log");
  ASSERT_GT(analysis::Result().Total, 0);
  const std::string path = dir.File("sample.pdf");
  ChoosePdf(main, path, "A4", /*landscape=*/true);
  Print(main, kMonth | kWeekday | kHour | kBrowser, 2);
  ASSERT_EQ(PdfPageCount(path), 1);
  const std::vector<PdfWord> words = PdfWords(path, 1);
  std::array<int, 4> perQuadrant{};
  for (const PdfWord& w : words) ++perQuadrant[(w.x < 0.5 ? 0 : 1) + (w.y < 0.5 ? 0 : 2)];
  for (int q = 0; q < 4; ++q) EXPECT_GT(perQuadrant[q], 2) << "quadrant " << q;
  // The picture in the README: VOREL_PRINT_SAMPLE names the PNG to write.
  if (const char* sample = std::getenv("VOREL_PRINT_SAMPLE")) {
    const QImage image = pdf::RenderPdfPage(path, 1, 72, dir.File("sample"));
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(sample)));
  }
}

}  // namespace
}  // namespace vorel::ui
