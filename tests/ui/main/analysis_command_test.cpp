// The analysis command: its checks and messages, the result commands, the
// summary window before and after, the progress window and the busy guard.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include "analysis/analysis_command.h"
#include "analysis/result.h"
#include "ui/main/frm_status.h"
#include "ui/main/repeat_log_question.h"
#include "ui/results/frm_base.h"
#include "ui/results/graph_picture.h"
#include "ui/results/graph_window.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

const char* const kResultCommands[] = {"mnuFileSave", "ResultsSave", "mnuFilePrint", "Printer", "mnuEditUrlList",
                                       "UrlList"};

class AnalysisCommandTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    settings::SetParam("VisibleWindow", 0);
  }

  bool AllResultCommands(bool enabled) const {
    for (const char* name : kResultCommands)
      if (Enabled(name) != enabled) return false;
    return true;
  }

  void ExpectOneMessage(const std::string& text, const std::string& title, platform::MessageIcon icon) {
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, text);
    EXPECT_EQ(prompter.messages[0].title, title);
    EXPECT_EQ(prompter.messages[0].icon, icon);
    EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::Ok);
  }
};

TEST_F(AnalysisCommandTest, GoodAnalysisEnablesTheResultCommandsAndAFailedOneDisablesThem) {
  frmMain& main = OpenFrame();
  main.mnuViewBase_Click();
  frmBase* base = main.BaseWindow();
  const std::string log = WriteLog("good.log", 5);
  base->cmbFileName->setEditText(QString::fromStdString(log));
  base->chkSpecifyDate->setChecked(true);
  base->chkSpecifyPage->setChecked(true);
  EXPECT_TRUE(AllResultCommands(false));

  main.AnalizeItem(0)->trigger();
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(AllResultCommands(true));
  EXPECT_EQ(analysis::ResultCount(0), 5);
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("5"));
  EXPECT_EQ(base->lblUniqueHost->text(), QStringLiteral("3"));
  // The summary window's choices went into the store.
  EXPECT_EQ(settings::ParamText("LogFile", 1), log);
  // …and the file list was refilled from it: the typed log first, the default after it.
  ASSERT_EQ(base->cmbFileName->count(), 2);
  EXPECT_EQ(base->cmbFileName->itemText(0), QString::fromStdString(log));
  EXPECT_EQ(base->cmbFileName->itemText(1), QString::fromStdString(dir.File("access.log")));
  EXPECT_FALSE(settings::ParamFlag("SpecifyDate"));
  EXPECT_FALSE(settings::ParamFlag("SpecifyPage"));

  EXPECT_TRUE(base->lblNotAnalysed->isHidden());

  // An additional analysis of a log the result holds asks first; No (the
  // default) leaves the result as it was, Yes counts the log again.
  main.AnalizeItem(1)->trigger();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, log + "\r\n" + kLogAlreadyAnalysedQuestion);
  EXPECT_EQ(prompter.messages[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(prompter.messages[0].defaultAnswer, platform::MessageAnswer::No);
  EXPECT_EQ(analysis::ResultCount(0), 5);
  EXPECT_TRUE(AllResultCommands(true));
  prompter.answers.push_back(platform::MessageAnswer::Yes);
  main.AnalizeItem(1)->trigger();
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(analysis::ResultCount(0), 10);
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("10"));
  // Another log is added without a question; after it, the first still asks.
  const std::string other = WriteLog("other.log", 4);
  base->cmbFileName->setEditText(QString::fromStdString(other));
  main.AnalizeItem(1)->trigger();
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(analysis::ResultCount(0), 14);
  base->cmbFileName->setEditText(QString::fromStdString(log));
  EXPECT_TRUE(base->lblNotAnalysed->isHidden());
  main.AnalizeItem(1)->trigger();
  EXPECT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(analysis::ResultCount(0), 14);
  // A new analysis starts the count of logs afresh: adding the other one asks no more.
  main.AnalizeItem(0)->trigger();
  EXPECT_EQ(analysis::ResultCount(0), 5);
  base->cmbFileName->setEditText(QString::fromStdString(other));
  main.AnalizeItem(1)->trigger();
  EXPECT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(analysis::ResultCount(0), 9);
  prompter.messages.clear();

  // Another log named but not analysed: the old totals stay, marked as not its own.
  base->cmbFileName->setEditText(QString::fromStdString(dir.File("gone.log")));
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("9"));
  EXPECT_TRUE(base->lblNotAnalysed->isVisibleTo(base));
  EXPECT_EQ(base->lblNotAnalysed->text(), QString::fromUtf8(kNotAnalysedMark));
  EXPECT_TRUE(base->lblTotalAccess->accessibleName().endsWith(QString::fromUtf8(kNotAnalysedMark)));
  main.ToolbarButton("AaAnalize")->trigger();
  EXPECT_TRUE(AllResultCommands(false));
  EXPECT_EQ(analysis::ResultCount(0), 0);
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("0"));
  EXPECT_EQ(base->lblUniqueHost->text(), QStringLiteral("0"));
  // The failed path was stored all the same; the lists are refilled only by an analysis that ran.
  EXPECT_EQ(settings::ParamText("LogFile", 1), dir.File("gone.log"));
  EXPECT_EQ(settings::ParamText("LogFile", 2), other);
}

TEST_F(AnalysisCommandTest, MissingLogFileIsReportedWithItsPath) {
  frmMain& main = OpenFrame();
  UseLog(dir.File("nothing-here.log"));
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("ログファイルが見つかりません。\r\n" + dir.File("nothing-here.log"), "エラー",
                   platform::MessageIcon::Error);
  EXPECT_TRUE(AllResultCommands(false));

  prompter.messages.clear();
  settings::SetParam("LogFile", "");
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("ログファイルが見つかりません。\r\n", "エラー", platform::MessageIcon::Error);
}

TEST_F(AnalysisCommandTest, AServerLogWithNothingReadableNamesTheFileAndItsUnreadableLines) {
  frmMain& main = OpenFrame();
  // A server log: its first line decides, the rest cannot be read.
  const std::string log = dir.Write(
      "access_log", "192.0.2.7 - - [10/Oct/2026:13:55:36 +0900] \"GET /style.css HTTP/1.1\" 200 10 \"-\" \"M\"\n"
                    "garbage one\n\x01\x02 garbage two\nnot a log line either\n");
  UseLog(log);
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("有効なデータがありませんでした。\r\n" + log + "\r\n" + analysis::UnreadableLinesText(3), "確認",
                   platform::MessageIcon::Warning);
  EXPECT_TRUE(AllResultCommands(false));
}

TEST_F(AnalysisCommandTest, AFolderIsRefusedAsAFolder) {
  frmMain& main = OpenFrame();
  UseLog(dir.path());
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("ログファイルに指定されたものはフォルダです。\r\n" + dir.path(), "エラー", platform::MessageIcon::Error);
  EXPECT_TRUE(AllResultCommands(false));
}

TEST_F(AnalysisCommandTest, ACutCompressedLogIsShownWithAWarningAfterTheAnalysis) {
  frmMain& main = OpenFrame();
  const std::string packed = testing::CompressedWith("gzip", testing::ReadFile(WriteLog("tmp.log", 4000)));
  const std::string cut = dir.Write("cut.log.gz", packed.substr(0, packed.size() / 2));
  UseLog(cut);
  int32_t totalDuringWarning = -1;
  prompter.onMessage = [&](const platform::MessageRequest&) { totalDuringWarning = analysis::ResultCount(0); };
  main.mnuEditAnalize_Click(0);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_NE(prompter.messages[0].text.find("\r\n" + cut), std::string::npos);
  // The part before the cut is the result, standing while the warning shows.
  EXPECT_GT(analysis::ResultCount(0), 0);
  EXPECT_LT(analysis::ResultCount(0), 4000);
  EXPECT_EQ(totalDuringWarning, analysis::ResultCount(0));
  EXPECT_TRUE(AllResultCommands(true));
}

TEST_F(AnalysisCommandTest, PageFilterWithoutAPageAsksForOne) {
  frmMain& main = OpenFrame();
  UseLog(WriteLog("access.log", 5));
  settings::SetParam("SpecifyPage", settings::ParamInput{true});
  settings::SetParam("Page", "");
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("解析するページを指定してください。", "エラー", platform::MessageIcon::Error);
  EXPECT_EQ(analysis::ResultCount(0), 0);
}

TEST_F(AnalysisCommandTest, ThreeRecordsAreNoContentAndFourAreAnalysed) {
  frmMain& main = OpenFrame();
  const std::string three = dir.Write("three.log", "1#(index)2024/01/01 00:00\r\n2#Mozilla\r\n3#\r\n");
  UseLog(three);
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("ログファイルの内容がありません。\r\n" + three, "エラー", platform::MessageIcon::Error);

  prompter.messages.clear();
  UseLog(WriteLog("four.log", 1));
  main.mnuEditAnalize_Click(0);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 1);
  EXPECT_TRUE(AllResultCommands(true));
}

TEST_F(AnalysisCommandTest, NothingCountedWarnsAndEmptiesTheResult) {
  frmMain& main = OpenFrame();
  main.mnuViewBase_Click();
  frmBase* base = main.BaseWindow();
  // A good analysis first, so that the warning has something to empty.
  UseLog(WriteLog("access.log", 6));
  base->FillFileNameList();
  base->chkSpecifyDate->setChecked(true);
  base->chkSpecifyPage->setChecked(true);
  main.mnuEditAnalize_Click(0);
  ASSERT_EQ(analysis::ResultCount(0), 6);

  base->chkSpecifyPage->setChecked(false);
  base->cmbPage->setEditText(QStringLiteral("nosuchpage"));
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("有効なデータがありませんでした。", "確認", platform::MessageIcon::Warning);
  EXPECT_EQ(analysis::ResultCount(0), 0);
  EXPECT_EQ(base->lblTotalAccess->text(), QStringLiteral("0"));
  EXPECT_EQ(base->lblUniqueHost->text(), QStringLiteral("0"));
  EXPECT_TRUE(AllResultCommands(false));
  EXPECT_EQ(base->cmbPage->itemText(0), QStringLiteral("nosuchpage"));
}

TEST_F(AnalysisCommandTest, NothingCountedWithAnOldStylePageAddsTheVer020Line) {
  frmMain& main = OpenFrame();
  UseLog(WriteLog("access.log", 6));
  settings::SetParam("SpecifyPage", settings::ParamInput{true});
  settings::SetParam("Page", "(index)");
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("有効なデータがありませんでした。\r\n（解析ページの指定方法が Ver0.20 から変更されています）", "確認",
                   platform::MessageIcon::Warning);
}

TEST_F(AnalysisCommandTest, ImpossibleDateEndsWithTheSettingsMessageAndAnalysesNothing) {
  frmMain& main = OpenFrame();
  main.mnuViewBase_Click();
  frmBase* base = main.BaseWindow();
  base->cmbFileName->setEditText(QString::fromStdString(WriteLog("access.log", 5)));
  base->chkSpecifyPage->setChecked(true);
  base->chkSpecifyDate->setChecked(false);
  base->txtStartDate[0]->setText(QStringLiteral("2001"));
  base->txtStartDate[1]->setText(QStringLiteral("2"));
  base->txtStartDate[2]->setText(QStringLiteral("30"));
  main.mnuEditAnalize_Click(0);
  ExpectOneMessage("解析できませんでした。\r\n設定情報を確認してください。（不正な日付など）", "エラー",
                   platform::MessageIcon::Error);
  EXPECT_EQ(analysis::ResultCount(0), 0);
  EXPECT_TRUE(AllResultCommands(false));
  EXPECT_FALSE(main.IsBusy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Corrected, the same window analyses.
  prompter.messages.clear();
  base->txtStartDate[2]->setText(QStringLiteral("28"));
  base->txtEndDate[0]->setText(QStringLiteral("2030"));
  main.mnuEditAnalize_Click(0);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 5);
}

// Whether a graph window's picture shows nothing but its background.
bool ShowsEmptyGraph(GraphWindow* graph) {
  const QImage image = graph->picture()->grab().toImage();
  QImage background(image.size(), image.format());
  background.fill(image.pixel(0, 0));
  return image == background;
}

TEST_F(AnalysisCommandTest, EveryFailureLeavesEveryOpenWindowShowingTheEmptyResult) {
  settings::SetParam("VisibleWindow", 8191);
  frmMain& main = OpenFrame();
  frmBase* base = main.BaseWindow();
  ASSERT_NE(base, nullptr);
  const std::string good = WriteLog("good.log", 9);
  const std::string three = dir.Write("three.log", "1#(index)2024/01/01 12:00:00\r\n2#agent\r\n3#\r\n");

  const auto analyseGood = [&] {
    base->cmbFileName->setEditText(QString::fromStdString(good));
    base->chkSpecifyDate->setChecked(true);
    base->chkSpecifyPage->setChecked(true);
    main.mnuEditAnalize_Click(0);
    ASSERT_EQ(base->lblTotalAccess->text(), QStringLiteral("9"));
    ASSERT_FALSE(ShowsEmptyGraph(main.Graph(GraphKind::Month)));
    ASSERT_FALSE(ShowsEmptyGraph(main.Graph(GraphKind::Host)));
  };
  const auto showsEmptyResult = [&] {
    bool empty = analysis::ResultCount(0) == 0 && base->lblTotalAccess->text() == QStringLiteral("0") &&
                 base->lblUniqueHost->text() == QStringLiteral("0") && AllResultCommands(false);
    for (GraphKind kind : kAllGraphKinds) empty = empty && ShowsEmptyGraph(main.Graph(kind));
    return empty;
  };
  // Already while the message is up, nothing old stands behind it.
  std::vector<bool> emptyDuringMessage;
  prompter.onMessage = [&](const platform::MessageRequest&) { emptyDuringMessage.push_back(showsEmptyResult()); };
  const auto expectEmpty = [&](const char* failure) {
    SCOPED_TRACE(failure);
    EXPECT_TRUE(showsEmptyResult());
    EXPECT_EQ(emptyDuringMessage, std::vector<bool>{true});
    EXPECT_EQ(prompter.messages.size(), 1u);
    prompter.messages.clear();
    emptyDuringMessage.clear();
  };

  analyseGood();
  base->chkSpecifyDate->setChecked(false);
  base->txtStartDate[0]->setText(QStringLiteral("2001"));
  base->txtStartDate[1]->setText(QStringLiteral("2"));
  base->txtStartDate[2]->setText(QStringLiteral("30"));
  main.mnuEditAnalize_Click(0);
  expectEmpty("impossible date");

  analyseGood();
  base->cmbFileName->setEditText(QString::fromStdString(dir.File("gone.log")));
  main.mnuEditAnalize_Click(0);
  expectEmpty("missing log");

  analyseGood();
  base->chkSpecifyPage->setChecked(false);
  base->cmbPage->setEditText(QString());
  main.mnuEditAnalize_Click(0);
  expectEmpty("no page");

  analyseGood();
  base->cmbFileName->setEditText(QString::fromStdString(three));
  main.mnuEditAnalize_Click(0);
  expectEmpty("three records");

  analyseGood();
  base->chkSpecifyPage->setChecked(false);
  base->cmbPage->setEditText(QStringLiteral("nosuchpage"));
  main.mnuEditAnalize_Click(0);
  expectEmpty("nothing counted");
}

TEST_F(AnalysisCommandTest, WithTheSummaryClosedTheStoredChoicesApply) {
  frmMain& main = OpenFrame();
  UseLog(WriteLog("access.log", 8));
  settings::SetParam("SpecifyDate", settings::ParamInput{true});
  settings::SetParam("StartDate", "2024/1/3");
  settings::SetParam("EndDate", "2024/1/5");
  main.mnuEditAnalize_Click(0);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 3);
}

TEST_F(AnalysisCommandTest, ClickingWhileTheCommandRunsDoesNothing) {
  frmMain& main = OpenFrame();
  UseLog(WriteLog("access.log", 5));
  settings::SetParam("SpecifyPage", settings::ParamInput{true});
  settings::SetParam("Page", "nosuchpage");
  int reentered = 0;
  // While the command shows its warning, the user clicks again, directly and through the queue.
  prompter.onMessage = [&](const platform::MessageRequest&) {
    if (reentered++ > 0) return;
    EXPECT_TRUE(main.IsBusy());
    main.mnuEditAnalize_Click(0);
    QTimer::singleShot(0, main.AnalizeItem(0), &QAction::trigger);
  };
  main.mnuEditAnalize_Click(0);
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_FALSE(main.IsBusy());
  QApplication::processEvents();
  EXPECT_EQ(prompter.messages.size(), 1u);
}

// Watches the progress window: whether it was shown and what it held when it went away.
class StatusWatcher : public QObject {
 public:
  bool shown = false;
  int maximum = -1;
  int value = -1;
  QString label;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched->objectName() == QLatin1String("frmStatus")) {
      if (event->type() == QEvent::Show) shown = true;
      auto* status = qobject_cast<frmStatus*>(watched);
      if (event->type() == QEvent::Hide && status) {
        maximum = status->pbrStatus->maximum();
        value = status->pbrStatus->value();
        label = status->lblStatus->text();
      }
    }
    return false;
  }
};

TEST_F(AnalysisCommandTest, ProgressWindowAppearsAboveCheckLineRecords) {
  frmMain& main = OpenFrame();
  settings::SetParam("CheckLine", 200);
  StatusWatcher watcher;
  qApp->installEventFilter(&watcher);

  UseLog(WriteLog("exact.log", 50));  // 200 records
  main.mnuEditAnalize_Click(0);
  EXPECT_FALSE(watcher.shown);
  EXPECT_EQ(analysis::ResultCount(0), 50);

  // One record more: an empty line after the last access.
  const std::string more = dir.File("more.log");
  dir.Write("more.log", testing::ReadFile(WriteLog("tmp.log", 50)) + "\r\n");
  UseLog(more);
  main.mnuEditAnalize_Click(0);
  qApp->removeEventFilter(&watcher);
  EXPECT_TRUE(watcher.shown);
  EXPECT_EQ(watcher.maximum, analysis::kProgressRange);
  EXPECT_EQ(watcher.value, analysis::kProgressRange);
  EXPECT_EQ(watcher.label, QStringLiteral("データのソート中です。"));
  EXPECT_EQ(analysis::ResultCount(0), 50);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AnalysisCommandTest, ProgressWindowLetsTimersRunButTheFrameStaysOpenUntilThePassEnds) {
  frmMain& main = OpenFrame();
  settings::SetParam("CheckLine", 200);
  UseLog(WriteLog("long.log", 500));
  bool ranDuringPass = false;
  bool closed = true;
  // A close request that reaches the frame while the progress window is up.
  QTimer::singleShot(0, &main, [&] {
    ranDuringPass = main.IsBusy();
    closed = main.close();
  });
  main.mnuEditAnalize_Click(0);
  EXPECT_TRUE(ranDuringPass);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(analysis::ResultCount(0), 500);
  EXPECT_TRUE(AllResultCommands(true));
  // Once the pass is over, the frame closes as usual.
  EXPECT_TRUE(main.close());
}

TEST_F(AnalysisCommandTest, ProgressWindowKeepsAPositionPastItsMaximumAtFull) {
  frmStatus status(nullptr);
  status.aauStausInit(3, "アクセスログ解析中です。");
  EXPECT_EQ(status.windowTitle(), QStringLiteral("処理状況"));
  EXPECT_EQ(status.lblStatus->text(), QStringLiteral("アクセスログ解析中です。"));
  EXPECT_EQ(status.pbrStatus->maximum(), 3);
  EXPECT_EQ(status.pbrStatus->value(), 0);
  status.aauStatusChange(2);
  EXPECT_EQ(status.pbrStatus->value(), 2);
  status.aauStatusChange(9);
  EXPECT_EQ(status.pbrStatus->value(), 3);
  status.aauMessageChange("データのソート中です。");
  EXPECT_EQ(status.lblStatus->text(), QStringLiteral("データのソート中です。"));
}

TEST_F(AnalysisCommandTest, AnalyseFileReadsTheWholeLogWhateverTheSummaryHeld) {
  frmMain& main = OpenFrame();
  main.mnuViewBase_Click();
  frmBase* base = main.BaseWindow();
  base->chkSpecifyDate->setChecked(false);
  base->chkSpecifyPage->setChecked(false);
  base->cmbPage->setEditText(QStringLiteral("other"));
  const std::string log = WriteLog("sample.log", 7, "diary");
  main.AnalyseFile(log);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(analysis::ResultCount(0), 7);
  EXPECT_EQ(base->cmbFileName->currentText(), QString::fromStdString(log));
  EXPECT_TRUE(base->chkSpecifyDate->isChecked());
  EXPECT_TRUE(base->chkSpecifyPage->isChecked());
}

}  // namespace
}  // namespace vorel::ui
