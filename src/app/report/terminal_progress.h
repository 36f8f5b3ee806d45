// The progress bar vorel-report draws on standard error while a large log is
// analysed: the share of the log's bytes read (only the bytes read, for a
// stream of unknown length), drawn from the pass's first position on,
// redrawn only when it changes visibly, and wiped before any message and at
// the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "analysis/analysis_pass.h"

namespace vorel::report_app {

class TerminalProgress : public analysis::ProgressReceiver {
 public:
  // `out` is the terminal.
  TerminalProgress(std::FILE* out, std::string logName);
  ~TerminalProgress() override;

  void aauStatusChange(int16_t piVal) override;
  void aauMessageChange(const std::string& psHelpCode) override;

  // Removes the bar from the screen (it comes back with the next position).
  void Clear();

 private:
  void Draw();

  std::FILE* out_;
  std::string logName_;
  int permille_ = 0;
  bool unknown_ = false;  // a stream: no share to show
  bool started_ = false;  // the pass has reported a position
  std::string message_;
  int lastPermille_ = -1;
  size_t drawnWidth_ = 0;
};

}  // namespace vorel::report_app
