#include "export/report_common.h"

#include "analysis/result.h"
#include "platform/codepage.h"
#include "platform/safe_file.h"
#include "settings/param_store.h"

namespace vorel::reports {

std::string_view WeekdayName(int d) {
  static constexpr std::string_view kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
  if (d < 1 || d > 7) return {};
  return kNames[d - 1];
}

bool RobotsSetApart() { return analysis::Result().RobotTotal > 0; }

std::string DateRangeText() {
  using namespace settings;
  if (!ParamFlag("SpecifyDate")) return "指定なし";
  return FormatDate(ParamDate("StartDate")) + " ～ " + FormatDate(ParamDate("EndDate"));
}

std::string PageConditionText(std::string_view page) {
  if (!settings::ParamFlag("SpecifyPage")) return "指定なし";
  std::string text = "(";
  text.append(page).append(")");
  return text;
}

std::string SelectedPage() { return ReportName(settings::ParamText("Page", 1)); }

std::string TimeZoneText() { return ReportName(analysis::Result().ServerTimeZone); }

std::string ReportName(std::string_view name) {
  std::string shown(name);
  // Bytes below 0x80 never occur inside a UTF-8 sequence, so bytes can be replaced one by one.
  for (char& c : shown)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) c = '?';
  return shown;
}

std::string RightAligned(int32_t n, size_t width) {
  std::string digits = std::to_string(n);
  if (digits.size() >= width) return digits;
  return std::string(width - digits.size(), ' ') + digits;
}

void ReportLines::Add(std::string_view line) {
  text_.append(line);
  text_.append("\r\n");
  if (put_ && text_.size() >= kReportPieceBytes) PutText();
}

// Whole lines, so that no character is cut between two pieces.
void ReportLines::PutText() {
  if (!failed_ && !text_.empty() && !(*put_)(platform::Utf8ToCp932(text_))) failed_ = true;
  text_.clear();
}

bool ReportLines::Finish() {
  if (put_) PutText();
  return !failed_;
}

std::string ReportTextOf(const std::function<void(ReportLines&)>& build) {
  ReportLines out;
  build(out);
  return out.Text();
}

bool WriteReportFile(const std::string& path, const std::function<void(ReportLines&)>& build) {
  return platform::WriteFileSafely(
      path,
      [&](const platform::BytePut& put) {
        ReportLines out(put);
        build(out);
        return out.Finish();
      },
      "ファイルの書き込みに失敗しました。\r\n" + path);
}

}  // namespace vorel::reports
