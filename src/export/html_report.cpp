#include "export/html_report.h"

#include <array>
#include <cmath>

#include "analysis/result.h"
#include "export/bar_image.h"
#include "export/report_common.h"
#include "platform/paths.h"

namespace vorel::reports {
namespace {

using analysis::CategoryTable;

constexpr std::string_view kCopyright = "Copyright (C) Palvern Company. All rights reserved.";

std::function<std::time_t()>& Clock() {
  static std::function<std::time_t()> clock;
  return clock;
}

// "yyyy-m-d h:n:s" in local time, no leading zeros.
std::string TimeStamp() {
  std::time_t now = Clock() ? Clock()() : std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return std::to_string(t.tm_year + 1900) + "-" + std::to_string(t.tm_mon + 1) + "-" + std::to_string(t.tm_mday) +
         " " + std::to_string(t.tm_hour) + ":" + std::to_string(t.tm_min) + ":" + std::to_string(t.tm_sec);
}

std::string BarImage(int32_t count, int32_t largest) {
  return "<img src=\"bar.gif\" width=\"" + std::to_string(BarWidth(count, largest)) +
         "\" height=\"12\" alt=\"Bar\">";
}

std::string Label(std::string_view text, int32_t count) {
  return std::string(text) + "(" + std::to_string(count) + ")";
}

template <size_t N, typename Caption>
void AddPeriodRows(ReportLines& out, const std::array<int32_t, N>& counts, size_t first, size_t last,
                   Caption caption) {
  int32_t largest = 0;
  for (size_t slot = first; slot <= last; ++slot)
    if (counts[slot] > largest) largest = counts[slot];
  if (largest == 0) return;
  for (size_t slot = first; slot <= last; ++slot)
    if (counts[slot] > 0)
      out.Add(MakeBarRow(Label(caption(static_cast<int>(slot)), counts[slot]), BarImage(counts[slot], largest)));
}

// The table is in ascending order, so its last entry holds the largest count.
void AddCategoryRows(ReportLines& out, const CategoryTable& table, bool skipEmpty) {
  if (table.Count < 1) return;
  const int32_t largest = table.Counts[static_cast<size_t>(table.Count)];
  if (largest <= 0) return;
  for (int32_t i = table.Count; i >= 1; --i) {
    const int32_t count = table.Counts[static_cast<size_t>(i)];
    if (skipEmpty && count < 1) continue;
    const std::string name = EscapeHtml(ReportName(table.Names[static_cast<size_t>(i)]));
    out.Add(MakeBarRow(Label(name, count), BarImage(count, largest)));
  }
}

struct Section {
  std::string_view anchor;
  std::string_view label;
};

constexpr std::array<Section, 5> kPeriodSections{{
    {"month", "月"}, {"week", "週"}, {"dweek", "曜日"}, {"date", "日付"}, {"time", "時間"}}};
constexpr std::array<Section, 6> kCategorySections{{
    {"os", "ＯＳ"}, {"brws", "ブラウザ"}, {"ob", "エージェント"}, {"host", "ホスト名"}, {"ref", "前画面"},
    {"page", "ページ"}}};
constexpr Section kRobotSection{"robot", "ロボット"};

void AddHead(ReportLines& out, const std::string& now) {
  out.Add("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">");
  out.Add("<html lang=\"ja\">");
  out.Add("<head>");
  out.Add("\t<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
  out.Add("\t<meta http-equiv=\"Expires\" content=\"" + now + "\">");
  out.Add("\t<meta name=\"author\" content=\"vorel\">");
  out.Add("\t<meta name=\"copyright\" content=\"" + std::string(kCopyright) + "\">");
  out.Add("\t<meta name=\"date\" content=\"" + now + "\">");
  out.Add("\t<title>ＨＰアクセス解析</title>");
  out.Add("</head>");
  out.Add("<body>");
  out.Add("<div>");
  out.Add("\t<strong>●ホームページアクセス状況</strong>");
  out.Add("\t<br><br>");
  out.Add("\t解析日付： " + DateRangeText() + "<br>");
  out.Add("\t解析条件： " + PageConditionText(EscapeHtml(SelectedPage())) + "<br>");
  if (const std::string zone = TimeZoneText(); !zone.empty())
    out.Add("\t" + std::string(kTimeZoneLabel) + "： " + EscapeHtml(zone) + "<br>");
  out.Add("\tアクセス合計： " + std::to_string(analysis::Result().Total) + "<br>");
  if (RobotsSetApart()) out.Add("\tロボット： " + std::to_string(analysis::Result().RobotTotal) + "<br>");
  out.Add("</div>");
}

void AddMenu(ReportLines& out) {
  out.Add("<div>");
  out.Add("\t<br>");
  out.Add("\t<table summary=\"Menu\">");
  out.Add("\t<tr>");
  for (const Section& s : kPeriodSections) out.Add(MakeMenuCell(s.anchor, s.label));
  out.Add("\t</tr>");
  out.Add("\t<tr>");
  for (const Section& s : kCategorySections) out.Add(MakeMenuCell(s.anchor, s.label));
  if (RobotsSetApart()) out.Add(MakeMenuCell(kRobotSection.anchor, kRobotSection.label));
  out.Add("\t</tr>");
  out.Add("\t</table>");
  out.Add("</div>");
}

}  // namespace

// The page's lines, in order.
void AddHtmlReport(ReportLines& out, const std::string& now) {
  const analysis::AnalysisResult& r = analysis::Result();
  AddHead(out, now);
  AddMenu(out);

  auto section = [&out](const Section& s, auto addRows) {
    out.Add(MakeSectionHead(s.anchor, s.label));
    addRows();
    out.Add("</div>");
  };
  section(kPeriodSections[0], [&] {
    AddPeriodRows(out, r.Month, 1, 12, [](int m) { return std::to_string(m) + "月"; });
  });
  section(kPeriodSections[1], [&] {
    AddPeriodRows(out, r.WWeek, 1, 54, [](int w) { return "第" + std::to_string(w) + "週"; });
  });
  section(kPeriodSections[2], [&] {
    AddPeriodRows(out, r.DWeek, 1, 7, [](int d) { return std::string(WeekdayName(d)) + "曜日"; });
  });
  section(kPeriodSections[3], [&] {
    AddPeriodRows(out, r.Date, 1, 31, [](int d) { return std::to_string(d) + "日"; });
  });
  section(kPeriodSections[4], [&] {
    AddPeriodRows(out, r.Time, 0, 24, [](int h) { return std::to_string(h) + "時"; });
  });
  const std::array<const CategoryTable*, 6> tables{&r.OS, &r.Brws, &r.Agent, &r.Host, &r.Ref, &r.Page};
  for (size_t k = 0; k < tables.size(); ++k) {
    // OS and browser entries without accesses are left out; the others are all shown.
    section(kCategorySections[k], [&] { AddCategoryRows(out, *tables[k], k < 2); });
  }
  if (RobotsSetApart()) section(kRobotSection, [&] { AddCategoryRows(out, r.Robot, true); });
  out.Add("</body>");
  out.Add("</html>");
}

void AddHtmlReport(ReportLines& out) { AddHtmlReport(out, TimeStamp()); }

std::string HtmlReport() { return HtmlReport(TimeStamp()); }

std::string HtmlReport(const std::string& now) {
  return ReportTextOf([&now](ReportLines& out) { AddHtmlReport(out, now); });
}

std::string MakeMenuCell(std::string_view anchor, std::string_view label) {
  return "\t\t<td>☆<a href=\"#" + std::string(anchor) + "\">" + std::string(label) + "別</a></td>";
}

std::string MakeSectionHead(std::string_view anchor, std::string_view label) {
  return "<div>\r\n\t<br>\r\n\t<hr>\r\n\t<a name=\"" + std::string(anchor) + "\"><strong>★" + std::string(label) +
         "別</strong></a><br>";
}

std::string MakeBarRow(std::string_view text, std::string_view image) {
  std::string row = "\t";
  row.append(text).append("<br>").append(image).append("<br>");
  return row;
}

int32_t BarWidth(int32_t count, int32_t largest) {
  if (largest <= 0 || count <= 0) return 0;
  const double scale = 500.0 / static_cast<double>(largest);
  const double product = static_cast<double>(count) * scale;
  // Only a table out of order could hold a count above its last one; keep the cast defined.
  if (product >= 2147483647.0) return 2147483647;
  return static_cast<int32_t>(std::floor(product));
}

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped.push_back(c);
    }
  }
  return escaped;
}

void SetReportClockForTesting(std::function<std::time_t()> clock) { Clock() = std::move(clock); }

bool WriteHtmlReport(const std::string& path) {
  WriteBarImage(platform::FolderWithSeparator(path));
  const std::string now = TimeStamp();
  return WriteReportFile(path, [&now](ReportLines& out) { AddHtmlReport(out, now); });
}

}  // namespace vorel::reports
