// Lines of a web server's own access log, in the "common" or "combined"
// format (Apache's usual format and nginx's default):
//
//   host ident user [10/Oct/2026:13:55:36 +0900] "GET /path HTTP/1.1" 200 2326 "referrer" "agent"
//
// The referrer and agent fields are absent in the common format; fields after
// the agent (some servers add more) are ignored. A line that is a page view
// becomes the four records the logging script would have written for it, so
// that the analysis counts both kinds of log the same way.
#pragma once

#include <string>
#include <string_view>

#include "analysis/time_zone.h"

namespace vorel::analysis {

struct ServerLogLine {
  std::string_view host;
  std::string_view time;     // inside the brackets
  std::string_view method;   // empty for a malformed request ("-")
  std::string_view target;   // the request path as logged, query included
  int status = 0;
  bool combined = false;     // referrer and agent present
  std::string referrer;      // unescaped; "-" already made empty
  std::string agent;         // unescaped; "-" already made empty
};

// Parses one line (without its line end). False when it is not a common or
// combined log line. The views point into `line`.
bool ParseServerLogLine(std::string_view line, ServerLogLine& out);

// A page view: method GET, status 2xx or 304, and a path naming a page (it
// ends in "/", its last segment has no extension, or the extension is one of
// html, htm, shtml, xhtml, php, cgi, pl, asp, aspx, jsp, in any letter case).
bool IsPageView(const ServerLogLine& line);

// The request path without its query string and fragment.
std::string_view PagePath(std::string_view target);

// The logged stamp ("10/Oct/2026:13:55:36 +0900", or its ISO 8601 form) as
// the record stamp "2026/10/10 13:55:36" of its wall-clock time in `zone`,
// so that the date filter and every period slot follow that zone. False when
// the stamp is not a real date and time (ParseServerTime), and then the line
// counts as unreadable.
bool ConvertServerTime(std::string_view time, const TimeZone& zone, std::string& out);

// The same stamp of an instant already read, appended to `out`; false, with
// nothing appended, when its year in `zone` has not four digits.
bool AppendServerStamp(const LoggedTime& logged, const TimeZone& zone, std::string& out);

// The four records of a page view: "1#(page)stamp", "2#agent",
// "3#referrer" and "4#(address)" or "4#name()". False when the time stamp
// cannot be read, and then the line counts as unreadable.
struct AccessRecords {
  std::string page, agent, referrer, host;
};
bool MakeAccessRecords(const ServerLogLine& line, const TimeZone& zone, AccessRecords& out);

}  // namespace vorel::analysis
