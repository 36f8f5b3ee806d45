#include "export/text_report.h"

#include <array>
#include <string_view>

#include "analysis/result.h"
#include "export/report_common.h"

namespace vorel::reports {
namespace {

using analysis::CategoryTable;

template <size_t N, typename Label>
void AddPeriodBlock(ReportLines& out, std::string_view heading, const std::array<int32_t, N>& counts,
                    size_t first, size_t last, Label label) {
  out.Add("");
  out.Add(heading);
  for (size_t slot = first; slot <= last; ++slot)
    if (counts[slot] > 0) out.Add(label(static_cast<int>(slot)) + ":" + RightAligned(counts[slot], 4));
}

// Largest count first; OS and browser entries without accesses are left out.
void AddCategoryRows(ReportLines& out, const CategoryTable& table, bool skipEmpty) {
  for (int32_t i = table.Count; i >= 1; --i) {
    const int32_t count = table.Counts[static_cast<size_t>(i)];
    if (skipEmpty && count < 1) continue;
    out.Add(RightAligned(count, 4) + ": " + ReportName(table.Names[static_cast<size_t>(i)]));
  }
}

void AddCountedBlock(ReportLines& out, std::string_view heading, const CategoryTable& table) {
  out.Add("");
  out.Add(std::string(heading) + " (" + std::to_string(table.Count) + ")");
  AddCategoryRows(out, table, false);
}

}  // namespace

// The report's lines, in order.
void AddTextReport(ReportLines& out) {
  const analysis::AnalysisResult& r = analysis::Result();
  out.Add("解析日付: " + DateRangeText());
  out.Add("解析条件: " + PageConditionText(SelectedPage()));
  if (const std::string zone = TimeZoneText(); !zone.empty()) out.Add(std::string(kTimeZoneLabel) + ": " + zone);
  out.Add("");
  out.Add("アクセス合計: " + std::to_string(r.Total));
  if (RobotsSetApart()) out.Add("ロボット: " + std::to_string(r.RobotTotal));

  AddPeriodBlock(out, "月別", r.Month, 1, 12, [](int m) { return RightAligned(m, 2) + "月"; });
  AddPeriodBlock(out, "週別", r.WWeek, 1, 54, [](int w) { return "第 " + RightAligned(w, 2) + "週"; });
  AddPeriodBlock(out, "曜日別", r.DWeek, 1, 7, [](int d) { return std::string(WeekdayName(d)); });
  AddPeriodBlock(out, "日付別", r.Date, 1, 31, [](int d) { return RightAligned(d, 2) + "日"; });
  AddPeriodBlock(out, "時間別", r.Time, 0, 24, [](int h) { return RightAligned(h, 2) + "時"; });

  out.Add("");
  out.Add("ＯＳ別");
  AddCategoryRows(out, r.OS, true);
  out.Add("");
  out.Add("ブラウザ別");
  AddCategoryRows(out, r.Brws, true);
  AddCountedBlock(out, "エージェント別", r.Agent);
  AddCountedBlock(out, "ホスト名別", r.Host);
  AddCountedBlock(out, "前画面別", r.Ref);
  AddCountedBlock(out, "ページ別", r.Page);
  if (RobotsSetApart()) {
    out.Add("");
    out.Add("ロボット別");
    AddCategoryRows(out, r.Robot, true);
  }
}

std::string TextReport() { return ReportTextOf(AddTextReport); }

bool WriteTextReport(const std::string& path) { return WriteReportFile(path, AddTextReport); }

}  // namespace vorel::reports
