#include "export/csv_report.h"

#include <array>

#include "analysis/result.h"
#include "export/report_common.h"

namespace vorel::reports {
namespace {

using analysis::CategoryTable;

std::string Row(std::string_view label, int32_t count) { return CsvCell(label) + "," + std::to_string(count); }

template <size_t N, typename Label>
void AddPeriodBlock(ReportLines& out, std::string_view heading, const std::array<int32_t, N>& counts,
                    size_t first, size_t last, Label label) {
  out.Add("");
  out.Add(CsvCell(heading));
  for (size_t slot = first; slot <= last; ++slot)
    if (counts[slot] > 0) out.Add(Row(label(static_cast<int>(slot)), counts[slot]));
}

// Largest count first; OS and browser entries without accesses are left out.
void AddCategoryRows(ReportLines& out, const CategoryTable& table, bool skipEmpty) {
  for (int32_t i = table.Count; i >= 1; --i) {
    const int32_t count = table.Counts[static_cast<size_t>(i)];
    if (skipEmpty && count < 1) continue;
    out.Add(CsvNameCell(table.Names[static_cast<size_t>(i)]) + "," + std::to_string(count));
  }
}

void AddCountedBlock(ReportLines& out, std::string_view heading, const CategoryTable& table) {
  out.Add("");
  out.Add(Row(heading, table.Count));
  AddCategoryRows(out, table, false);
}

}  // namespace

// The report's lines, in order.
void AddCsvReport(ReportLines& out) {
  const analysis::AnalysisResult& r = analysis::Result();
  out.Add(CsvCell("解析日付") + "," + CsvCell(DateRangeText()));
  out.Add(CsvCell("解析条件") + "," + CsvCell(PageConditionText(SelectedPage())));
  if (const std::string zone = TimeZoneText(); !zone.empty()) out.Add(CsvCell(kTimeZoneLabel) + "," + CsvNameCell(zone));
  out.Add("");
  out.Add(Row("アクセス合計", r.Total));
  if (RobotsSetApart()) out.Add(Row("ロボット", r.RobotTotal));

  AddPeriodBlock(out, "月別", r.Month, 1, 12, [](int m) { return std::to_string(m) + "月"; });
  AddPeriodBlock(out, "週別", r.WWeek, 1, 54, [](int w) { return "第" + std::to_string(w) + "週"; });
  AddPeriodBlock(out, "曜日別", r.DWeek, 1, 7, [](int d) { return std::string(WeekdayName(d)); });
  AddPeriodBlock(out, "日付別", r.Date, 1, 31, [](int d) { return std::to_string(d) + "日"; });
  AddPeriodBlock(out, "時間別", r.Time, 0, 24, [](int h) { return std::to_string(h) + "時"; });

  out.Add("");
  out.Add(CsvCell("ＯＳ別"));
  AddCategoryRows(out, r.OS, true);
  out.Add("");
  out.Add(CsvCell("ブラウザ別"));
  AddCategoryRows(out, r.Brws, true);
  AddCountedBlock(out, "エージェント別", r.Agent);
  AddCountedBlock(out, "ホスト名別", r.Host);
  AddCountedBlock(out, "前画面別", r.Ref);
  AddCountedBlock(out, "ページ別", r.Page);
  if (RobotsSetApart()) {
    out.Add("");
    out.Add(CsvCell("ロボット別"));
    AddCategoryRows(out, r.Robot, true);
  }
}

std::string CsvReport() { return ReportTextOf(AddCsvReport); }

std::string CsvCell(std::string_view text) {
  std::string cell = "\"";
  for (char c : text) {
    if (c == '"') cell.push_back('"');
    cell.push_back(c);
  }
  cell.push_back('"');
  return cell;
}

std::string CsvNameCell(std::string_view name) {
  std::string text = ReportName(name);
  // A spreadsheet reads a cell beginning with one of these as a formula.
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
    text.insert(text.begin(), '\'');
  return CsvCell(text);
}

bool WriteCsvReport(const std::string& path) { return WriteReportFile(path, AddCsvReport); }

}  // namespace vorel::reports
