#include "analysis/analysis_command.h"

#include <gtest/gtest.h>

#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::analysis {
namespace {

using settings::SetParam;

class AnalysisCommandChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    ClearClassLists();
    SetParam("SpecifyDate", false);
  }
  std::string Log(int accesses) {
    std::string text;
    for (int i = 0; i < accesses; ++i) text += "1#(index)2001/12/05 09:03:07\r\n2#a\r\n3#\r\n4#h(1.2.3.4)\r\n";
    return dir.Write("access.log", text);
  }
  testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
};

TEST_F(AnalysisCommandChecks, EachProblemHasItsMessageAndEmptiesTheResult) {
  Result().Total = 5;
  SetParam("LogFile", dir.File("none.log"));
  EXPECT_EQ(PrepareAnalysis().problem, LogProblem::MissingLog);
  EXPECT_EQ(prompter.messages.back().text, "ログファイルが見つかりません。\r\n" + dir.File("none.log"));
  EXPECT_EQ(Result().Total, 0);

  SetParam("LogFile", dir.path());
  EXPECT_EQ(PrepareAnalysis().problem, LogProblem::Folder);
  EXPECT_EQ(prompter.messages.back().text, "ログファイルに指定されたものはフォルダです。\r\n" + dir.path());

  SetParam("LogFile", "/dev/null");
  EXPECT_EQ(PrepareAnalysis().problem, LogProblem::Device);
  EXPECT_EQ(prompter.messages.back().text, "ログファイルに指定されたものはデバイスです。\r\n/dev/null");

  SetParam("LogFile", dir.Write("four.log", "1\n2\n3\n4\n"));
  SetParam("Page", "");
  EXPECT_EQ(PrepareAnalysis().problem, LogProblem::NoPage);
  EXPECT_EQ(prompter.messages.back().text, "解析するページを指定してください。");

  SetParam("SpecifyPage", false);
  SetParam("CheckLine", 0);  // the progress then shows from the first record on
  AnalysisPreparation ready = PrepareAnalysis();
  EXPECT_EQ(ready.problem, LogProblem::None);
  EXPECT_EQ(ready.checkLine, 1);
}

TEST_F(AnalysisCommandChecks, ThreeRecordsOrFewerAreTooFewWhenThePassHasReadThem) {
  SetParam("SpecifyPage", false);
  struct Case {
    std::string text;
    bool tooFew;
  };
  const std::vector<Case> cases = {
      {"", true},
      {"1#(index)2001/12/05 09:03:07\r\n4#h(1.2.3.4)\r\n3#\r\n", true},  // would count an access
      {"1#(index)2001/12/05 09:03:07\r\n4#h(1.2.3.4)\r\n3#\r\n\r\n", false},
      {"1#(index)2001/12/05 09:03:07\t4#h(1.2.3.4)\t3#\t3#\n", false},
  };
  for (const Case& c : cases) {
    prompter.messages.clear();
    SetParam("LogFile", dir.Write("short.log", c.text));
    const AnalysisOutcome outcome = RunAnalysis(0);
    EXPECT_EQ(outcome == AnalysisOutcome::Failed, c.tooFew) << c.text;
    ASSERT_EQ(prompter.messages.empty(), !c.tooFew) << c.text;
    if (c.tooFew) {
      EXPECT_EQ(prompter.messages.back().text, "ログファイルの内容がありません。\r\n" + dir.File("short.log"));
      EXPECT_EQ(Result().Total, 0);
    } else {
      EXPECT_EQ(Result().Total, 1) << c.text;
    }
  }
}

TEST_F(AnalysisCommandChecks, NothingCountedWarnsAndMentionsTheOldPageSyntax) {
  SetParam("LogFile", Log(2));
  SetParam("Page", "(index)");
  EXPECT_EQ(RunAnalysis(0), AnalysisOutcome::NothingCounted);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].title, "確認");
  EXPECT_EQ(prompter.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(prompter.messages[0].text, "有効なデータがありませんでした。\r\n（解析ページの指定方法が Ver0.20 から変更されています）");
  EXPECT_EQ(Result().Page.Count, 0);

  SetParam("Page", "index");
  EXPECT_EQ(RunAnalysis(0), AnalysisOutcome::Counted);
  EXPECT_EQ(Result().Total, 2);
}

}  // namespace
}  // namespace vorel::analysis
