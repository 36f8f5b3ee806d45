// One pass over the access log into the shared result: the date, page and
// host filters, classification, normalisation and counting, then merging and
// sorting of the tables.
#pragma once

#include <cstdint>
#include <string>

namespace vorel::analysis {

// Receives the pass's progress: the position (records read divided by
// CheckLine) and a new message. The progress window implements it.
class ProgressReceiver {
 public:
  virtual ~ProgressReceiver() = default;
  virtual void aauStatusChange(int16_t piVal) = 0;
  virtual void aauMessageChange(const std::string& psHelpCode) = 0;
};

// The receiver the pass reports to (none by default).
void SetProgressReceiver(ProgressReceiver* receiver);

// Analyses the log named by LogFile entry 1: `additional` 0 starts from an
// empty result, 1 adds to the result that is there. True when the whole log
// was read and the tables sorted; false when the pass stopped on an error,
// which it has reported under the title "解析エラー" with the line number.
bool AnalyzeLog(int additional);

// The empty result: zero totals, OS and browser tables rebuilt from the
// classification lists, the other tables empty.
void ResetResult();

// Puts the OS and browser tables back into list order before an additional pass.
void PrepareAdditional();

// The physical line number the reader reached in the last pass.
int32_t CurrentLineNo();

// What the last pass read of a web server's log: its lines (empty ones
// aside), the page views among them, and the lines that could not be read.
// All zero after a pass over a record log.
struct ServerLogCounts {
  int64_t lines = 0;
  int64_t pageViews = 0;
  int64_t unreadable = 0;
};
ServerLogCounts LastServerLogCounts();

}  // namespace vorel::analysis
