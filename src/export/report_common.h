// Pieces the three report writers share: the condition texts of the header,
// weekday names, number padding, and the one way a report reaches the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/safe_file.h"

namespace vorel::reports {

// Short weekday name of day number d (1 = Sunday … 7 = Saturday).
std::string_view WeekdayName(int d);

// The analysed period: "指定なし" when the date filter is off, otherwise
// start and end date as "yyyy/m/d ～ yyyy/m/d".
std::string DateRangeText();

// The page selection: "指定なし" when the page filter is off, otherwise
// `page` in round brackets. `page` is Page entry 1 (SelectedPage) as the
// caller wants it written, escaped or not.
std::string PageConditionText(std::string_view page);
std::string SelectedPage();

// The header line after the conditions that says which zone a server log's
// times are in: its label, and the zone as the analysis named it (empty for
// a result of record logs only, whose reports have no such line).
inline constexpr std::string_view kTimeZoneLabel = "時間帯";
std::string TimeZoneText();

// A name from the log (agent, host, referrer, page) as every report writes
// it: control characters below U+0020 other than TAB, and U+007F, become
// "?", so that no escape sequence reaches a terminal and no bare CR breaks a
// line.
std::string ReportName(std::string_view name);

// Robots were set apart from the people (RobotMode) and counted: only then
// do the reports carry the robot total and the robot section.
bool RobotsSetApart();

// n in decimal, right-aligned in `width` characters; longer numbers whole.
std::string RightAligned(int32_t n, size_t width);

// Collects report lines; every line, the last one included, ends in CR LF.
// Given a `put`, the lines go on to it as CP932 in pieces of about
// kReportPieceBytes, so that a report of any size is never held whole.
inline constexpr size_t kReportPieceBytes = size_t{1} << 20;
class ReportLines {
 public:
  ReportLines() = default;
  explicit ReportLines(const platform::BytePut& put) : put_(&put) {}
  void Add(std::string_view line);
  // The lines not yet put (all of them, without a put).
  const std::string& Text() const { return text_; }
  // Puts what is left; false when a put failed (the lines after it were dropped).
  bool Finish();

 private:
  void PutText();
  const platform::BytePut* put_ = nullptr;
  bool failed_ = false;
  std::string text_;
};

// The report that `build` adds, as UTF-8 text held whole.
std::string ReportTextOf(const std::function<void(ReportLines&)>& build);

// Writes the report that `build` adds, converted to CP932, through a
// temporary file beside `path`, so that a failed or cancelled save keeps any
// old report. Failures ask Retry/Cancel with "ファイルの書き込みに失敗しました。"
// and the path (a retry builds the report again); false when the user cancelled.
bool WriteReportFile(const std::string& path, const std::function<void(ReportLines&)>& build);

}  // namespace vorel::reports
