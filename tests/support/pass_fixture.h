// A fixture for tests of the analysis pass: a program folder of its own,
// default settings with all dates and all pages, a classification file of the
// test's own loaded, and an empty result.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/class_lists.h"
#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::testing {

class PassFixture : public ::testing::Test {
 protected:
  // `classFile`: the classification file's lines (UTF-8, written as CP932).
  void SetUpPass(const std::string& classFile) {
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    settings::SetParam("SpecifyDate", false);
    settings::SetParam("SpecifyPage", false);
    UseClassFile(classFile);
    analysis::ResetResult();
  }
  void UseClassFile(const std::string& classFile) {
    dir.Write("vorel.dat", Sjis(classFile));
    analysis::LoadClassListsFrom(dir.File("vorel.dat"));
  }
  // Analyses `log`, written to the file `name`.
  void Analyze(const std::string& name, const std::string& log, int additional = 0) {
    settings::SetParam("LogFile", dir.Write(name, log));
    ASSERT_TRUE(analysis::AnalyzeLog(additional));
  }

  TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
};

// A table's entries as readers show them: largest count first.
inline std::vector<std::pair<std::string, int32_t>> ShownEntries(const analysis::CategoryTable& t) {
  std::vector<std::pair<std::string, int32_t>> entries;
  for (int32_t i = t.Count; i >= 1; --i)
    entries.emplace_back(t.Names[static_cast<size_t>(i)], t.Counts[static_cast<size_t>(i)]);
  return entries;
}

}  // namespace vorel::testing
