// The layout of a web server's log lines, named by the user as the format
// string of the server's configuration: Apache's LogFormat ("%h %l %u %t
// \"%r\" %>s %b") or nginx's log_format ('$remote_addr - $remote_user
// [$time_local] "$request" $status'). A format compiles into a list of fields,
// each with the text that stands before it; the line parser walks that list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorel::analysis {

// What a field of the line means to the analysis; every directive the
// analysis does not use is Skip.
enum class LayoutField : uint8_t {
  Skip,
  Host,          // %h, %a, $remote_addr
  ForwardedFor,  // %{X-Forwarded-For}i, $http_x_forwarded_for: the first address is the visitor
  Time,          // %t (with its brackets), $time_local, $time_iso8601
  Request,       // %r, $request: "METHOD TARGET PROTOCOL"
  Method,        // %m, $request_method
  Target,        // %U, $request_uri, $uri
  Status,        // %s, %>s, $status
  Referrer,      // %{Referer}i, $http_referer
  Agent,         // %{User-Agent}i, $http_user_agent
};

struct LayoutStep {
  std::string literal;  // the text before the field
  LayoutField field = LayoutField::Skip;
  bool bracketed = false;  // Apache's %t writes "[...]" itself
  bool quoted = false;     // between double quotes: ends at the first quote not escaped
};

struct LogLayout {
  std::vector<LayoutStep> steps;
  std::string tail;  // the text after the last field
};

// Compiles a format string, as it stands in the configuration or as the
// whole configuration line ("LogFormat \"...\" combined", "log_format main
// '...' '...';"). False with a message for the user in `error` when the
// format cannot describe a line the analysis can read.
bool CompileLogLayout(std::string_view format, LogLayout& layout, std::string& error);

}  // namespace vorel::analysis
