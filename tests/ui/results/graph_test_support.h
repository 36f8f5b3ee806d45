// Shared set-up for the graph window tests: default settings, an empty
// result, a scripted prompter, and helpers that fill the result directly.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <string>
#include <utility>
#include <vector>

#include "analysis/result.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/param_store.h"
#include "support/test_files.h"

namespace vorel::ui::testing {

class GraphTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(dir.path());
    settings::ClearParams();
    settings::ApplyDefaults();
    analysis::Result() = analysis::AnalysisResult{};
  }
  void TearDown() override { analysis::Result() = analysis::AnalysisResult{}; }

  // Appends entries in the order given (callers give ascending counts, as
  // the sorted tables hold them).
  static void Fill(analysis::CategoryTable& table, const std::vector<std::pair<std::string, int>>& entries) {
    for (const auto& [name, count] : entries) table.Append(name, count);
  }

  vorel::testing::TempDir dir;
  platform::ScriptedPrompter prompter;
  platform::ScopedPrompter scope{prompter};
};

inline bool SameRgb(const QImage& image, int x, int y, const QColor& colour) {
  return QColor(image.pixel(x, y)).rgb() == colour.rgb();
}

inline int CountPixels(const QImage& image, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (SameRgb(image, x, y, colour)) ++n;
  return n;
}

}  // namespace vorel::ui::testing
