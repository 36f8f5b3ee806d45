// The progress bar vorel-report draws on standard error while a large log is
// analysed: records read of the record count, redrawn only when it changes
// visibly, and wiped before any message and at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "analysis/analysis_pass.h"

namespace vorel::report_app {

class TerminalProgress : public analysis::ProgressReceiver {
 public:
  // `out` is the terminal; `records` the log's record count and `checkLine`
  // the records between two positions the pass reports.
  TerminalProgress(std::FILE* out, std::string logName, int32_t records, int32_t checkLine);
  ~TerminalProgress() override;

  void aauStatusChange(int16_t piVal) override;
  void aauMessageChange(const std::string& psHelpCode) override;

  // Removes the bar from the screen (it comes back with the next position).
  void Clear();

 private:
  void Draw();

  std::FILE* out_;
  std::string logName_;
  int64_t total_;
  int32_t checkLine_;
  int64_t done_ = 0;
  std::string message_;
  int lastPermille_ = -1;
  size_t drawnWidth_ = 0;
};

}  // namespace vorel::report_app
