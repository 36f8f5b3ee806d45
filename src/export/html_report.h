// The HTML page of the result: conditions and total, a menu of the eleven
// sections, and one section of labelled bars (the image "bar.gif") per
// period and category table.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "export/report_common.h"

namespace vorel::reports {

// Writes "bar.gif" beside `path` when it is missing, then the page (CP932,
// CR LF). False when the user cancelled after a write error of the page; any
// old page then stays as it was. An image error is reported but does not stop the page.
bool WriteHtmlReport(const std::string& path);

// The page itself (UTF-8), as WriteHtmlReport writes it, without the image;
// `now` is the time stamp of its head.
std::string HtmlReport();
std::string HtmlReport(const std::string& now);
// The page's lines, added to `out` in order (stamped now, or at `now`).
void AddHtmlReport(ReportLines& out);
void AddHtmlReport(ReportLines& out, const std::string& now);

// Repeated pieces of the page.
std::string MakeMenuCell(std::string_view anchor, std::string_view label);
std::string MakeSectionHead(std::string_view anchor, std::string_view label);
std::string MakeBarRow(std::string_view text, std::string_view image);

// Width of a bar for `count` when the section's largest count is `largest`:
// floor(count × (500 / largest)) in double precision, so 19 of 19 gives 499.
int32_t BarWidth(int32_t count, int32_t largest);

// Visitors' texts (agents, referrers, hosts, pages) in a published page: & < > "
// become character references so that no visitor can put markup into it.
std::string EscapeHtml(std::string_view text);

// The moment written into the page head; tests fix it.
void SetReportClockForTesting(std::function<std::time_t()> clock);

}  // namespace vorel::reports
