// ファイル → 履歴に追加...: the summary window's log goes into the history
// file chosen in the dialog, once; the outcome is reported in a message.
#include <QAction>

#include "history/history_file.h"
#include "history/page_view_reader.h"
#include "ui/ui_test_support.h"

namespace vorel::ui {
namespace {

class HistoryCommandTest : public UiTest {};

TEST_F(HistoryCommandTest, TheCurrentLogIsAddedOnceToTheChosenHistory) {
  frmMain& main = OpenFrame();
  UseLog(WriteLog("access.log", 12));
  const std::string history = dir.File("access.history");
  for (int64_t expectedAdded : {12, 0}) {
    prompter.messages.clear();
    prompter.files.push_back(history);
    main.MenuItem("mnuFileAddHistory")->trigger();
    ASSERT_EQ(prompter.fileRequests.back().save, true);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_NE(prompter.messages[0].text.find(history), std::string::npos);
    EXPECT_NE(prompter.messages[0].text.find(": " + std::to_string(expectedAdded) + " 件"), std::string::npos)
        << prompter.messages[0].text;
  }
  EXPECT_EQ(history::CountPageViews(history), 12);
}

TEST_F(HistoryCommandTest, AFileThatIsNoHistoryIsReportedAndLeftAlone) {
  frmMain& main = OpenFrame();
  UseLog(WriteLog("access.log", 3));
  const std::string notes = dir.Write("notes.txt", "keep me");
  prompter.files.push_back(notes);
  main.mnuFileAddHistory_Click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_NE(prompter.messages[0].text.find(history::kNotHistory), std::string::npos);
  EXPECT_EQ(testing::ReadFile(notes), "keep me");

  // A cancelled dialog adds nothing and says nothing.
  prompter.messages.clear();
  main.mnuFileAddHistory_Click();
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace vorel::ui
