// A server log's format string, and a line read by the layout it compiles to.
// The input is the format, a NUL byte, then the line. A compiled layout must
// hold a time stamp and a page; a line it reads must give views into itself.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/log_layout.h"
#include "analysis/server_log.h"

using namespace vorel::analysis;

namespace {

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  const std::string_view format = input.substr(0, nul);
  const std::string_view line = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
  LogLayout layout;
  std::string error;
  if (!CompileLogLayout(format, layout, error)) {
    if (error.empty() || !layout.steps.empty()) std::abort();
    return 0;
  }
  bool time = false, page = false;
  for (const LayoutStep& step : layout.steps) {
    time |= step.field == LayoutField::Time;
    page |= step.field == LayoutField::Request || step.field == LayoutField::Target;
  }
  if (!time || !page) std::abort();
  ServerLogLine parsed;
  if (!ParseServerLogLine(line, layout, parsed)) return 0;
  // A layout that names no method logs GET requests: that method is the parser's own.
  if (parsed.time.empty() || !Inside(parsed.time, line) || !Inside(parsed.target, line) ||
      !Inside(parsed.path, line) || !(Inside(parsed.method, line) || parsed.method == "GET"))
    std::abort();
  std::string name;
  PageName(parsed.target, name);
  (void)IsPageView(parsed);
  return 0;
}
