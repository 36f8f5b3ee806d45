// One pass over the access log into the shared result: the date, page and
// host filters, classification, normalisation and counting, then merging and
// sorting of the tables.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "analysis/result.h"

namespace vorel::analysis {

// The progress position runs from 0 to kProgressRange as the log's bytes are
// read (its compressed bytes, for a compressed log), so no log is too long
// for it. kProgressUnknown: a stream (pipe, FIFO) whose size nobody knows.
inline constexpr int16_t kProgressRange = 1000;
inline constexpr int16_t kProgressUnknown = -1;

// Receives the pass's progress and a new message. Positions come every
// CheckLine records, the first once the log has proved longer than CheckLine
// records (the progress window appears then), the last kProgressRange at the
// end. The progress window implements it.
class ProgressReceiver {
 public:
  virtual ~ProgressReceiver() = default;
  virtual void aauStatusChange(int16_t piVal) = 0;
  virtual void aauMessageChange(const std::string& psHelpCode) = 0;
};

// The receiver the pass reports to (none by default).
void SetProgressReceiver(ProgressReceiver* receiver);

// What a pass takes from the parameter store, read at once before it starts:
// the store belongs to the interface thread, the pass may run on another.
struct PassSettings;
struct PassRequest {
  int additional = 0;  // 0 new analysis, 1 additional
  std::string logFile;
  std::shared_ptr<const PassSettings> settings;  // none when they cannot be read
  std::string settingsError;                     // then why, where it can say (a wrong log layout)
};
PassRequest ReadPassRequest(int additional);

// How a running pass reports and learns that it is to stop. The cancel flag
// is looked at with every record.
struct PassControl {
  ProgressReceiver* progress = nullptr;
  const std::atomic<bool>* cancel = nullptr;
};

enum class PassStatus { Completed, Failed, Cancelled };
struct PassOutcome {
  PassStatus status = PassStatus::Completed;
  std::string error;  // Failed: the text of the "解析エラー" message
};

// One pass into `target`: a new analysis empties it first, an additional one
// adds to it. Touches neither the parameter store nor the prompter, so it may
// run on a worker thread while the shared result stays on screen. A failed or
// cancelled pass leaves `target` partly counted.
PassOutcome RunPass(const PassRequest& request, AnalysisResult& target, const PassControl& control);

// The message of a failed pass: error icon, title "解析エラー".
void ShowPassError(const PassOutcome& outcome);

// Analyses the log named by LogFile entry 1: `additional` 0 starts from an
// empty result, 1 adds to the result that is there. True when the whole log
// was read and the tables sorted; false when the pass stopped on an error,
// which it has reported under the title "解析エラー" with the line number.
bool AnalyzeLog(int additional);

// The empty result: zero totals, OS and browser tables rebuilt from the
// classification lists, the other tables empty.
void ResetResult();

// The physical line number the reader reached in the last pass.
int64_t CurrentLineNo();

// What the last pass read, line by line: `lines` are the lines that are not
// records (a web server's lines and unreadable ones, empty lines aside), the
// page views among them, and the lines that could not be read (garbage, a
// partial line, a line over its length bound, a server line whose stamp is
// unreadable). `records` is the record count, each server line standing for
// one access's four records. A pure record log has `lines` 0.
struct ServerLogCounts {
  int64_t lines = 0;
  int64_t pageViews = 0;
  int64_t unreadable = 0;
  int64_t recordLines = 0;
  int64_t records = 0;
};
ServerLogCounts LastServerLogCounts();

// The last pass met a compressed log that was damaged or cut off, and
// counted what came before the damage.
bool LastLogEndedEarly();

}  // namespace vorel::analysis
