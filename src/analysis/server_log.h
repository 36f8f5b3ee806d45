// Lines of a web server's own access log, in the "common" or "combined"
// format (Apache's usual format and nginx's default):
//
//   host ident user [10/Oct/2026:13:55:36 +0900] "GET /path HTTP/1.1" 200 2326 "referrer" "agent"
//
// The referrer and agent fields are absent in the common format; fields after
// the agent (some servers add more) are ignored. Also read without being
// named: Apache's vhost_combined ("host:port" first, ignored) and a leading
// X-Forwarded-For list ("203.0.113.1, 10.0.0.7 - - [...]", the first address
// is the visitor). Any other layout is named by its format string (log_layout.h).
//
// Lines are the log's raw bytes; texts are decoded here (logged_text.h).
#pragma once

#include <string>
#include <string_view>

#include "analysis/log_layout.h"
#include "analysis/time_zone.h"

namespace vorel::analysis {

struct ServerLogLine {
  std::string_view host;     // the visitor's address or name as logged
  std::string_view time;     // the stamp as logged: inside the brackets, or ISO 8601
  std::string_view method;   // empty for a malformed request ("-")
  std::string_view target;   // the request path as logged, query included
  std::string_view path;     // the target up to its query or fragment (PagePath)
  int status = 0;
  bool combined = false;     // referrer or agent present
  std::string_view rawReferrer, rawAgent;  // as logged
  // Decoded for a page view only (IsPageView): no other line's texts are
  // counted, so half a log's lines (images, style sheets) skip the work.
  std::string referrer;      // decoded, "-" made empty; its %HH are left to the referrer's normalisation
  std::string agent;         // decoded; "-" made empty
};

// Whether the parser decodes a page view's referrer and agent into the
// line, or leaves them to the caller (who may know them by their raw text).
enum class TextDecoding { PageViews, None };

// Parses one line (without its line end) of a layout found by itself. False
// when it is not such a line. The views point into `line`.
bool ParseServerLogLine(std::string_view line, ServerLogLine& out, TextDecoding decoding = TextDecoding::PageViews);
// Parses one line of the layout the user named.
bool ParseServerLogLine(std::string_view line, const LogLayout& layout, ServerLogLine& out,
                        TextDecoding decoding = TextDecoding::PageViews);

// A page view's referrer and agent fields decoded as the parser decodes
// them: "-" is empty, and a referrer's %HH are left to its normalisation.
void DecodeReferrer(std::string_view raw, std::string& out);
void DecodeAgent(std::string_view raw, std::string& out);

// A page view: method GET, status 2xx or 304, and a path naming a page (it
// ends in "/", its last segment has no extension, or the extension is one of
// html, htm, shtml, xhtml, php, cgi, pl, asp, aspx, jsp, in any letter case).
bool IsPageView(const ServerLogLine& line);

// The request path without its query string and fragment.
std::string_view PagePath(std::string_view target);

// The page's name: the path of the target, decoded (escapes, UTF-8 or CP932).
void PageName(std::string_view target, std::string& out);

// The page filter on a server log's page names: "index" is the site's top
// page ("/" and "/index.EXT" for a page extension), a name beginning with
// "/" is the path itself, any other name the path with "/" before it.
bool PageMatches(std::string_view path, std::string_view selection);

// True when the host field holds an address rather than a looked-up name.
bool LooksLikeAddress(std::string_view host);

// An instant read from a logged stamp (ParseServerTime) appended to `out` as
// the record stamp "2026/10/10 13:55:36" of its wall-clock time in `zone`, so
// that the date filter and every period slot follow that zone; false, with
// nothing appended, when its year in `zone` has not four digits.
bool AppendServerStamp(const LoggedTime& logged, const TimeZone& zone, std::string& out);

// The wall-clock time in `zone` of an instant read from a logged stamp; false
// when a record stamp could not show it (its year has not four digits).
bool StampableTime(const LoggedTime& logged, const TimeZone& zone, CivilTime& out);

// The start of a page view's page record, "1#(page)", its stamp to follow.
void AppendPageRecordStart(std::string_view target, std::string& out);
// The host's record, "4#(address)" or "4#name()".
void AppendHostRecord(std::string_view host, std::string& out);

// The four records of a page view: "1#(page)stamp", "2#agent",
// "3#referrer" and "4#(address)" or "4#name()". False when the time stamp
// cannot be read, and then the line counts as unreadable.
struct AccessRecords {
  std::string page, agent, referrer, host;
};
bool MakeAccessRecords(const ServerLogLine& line, const TimeZone& zone, AccessRecords& out);

}  // namespace vorel::analysis
