// Arbitrary bytes opened as a history file: read back as page views, or
// refused; an addition to a file that is refused leaves it unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "analysis/time_zone.h"
#include "fuzz_support.h"
#include "history/history_adder.h"
#include "history/page_view_reader.h"

using namespace vorel;

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void RemoveJournals(const std::string& path) {
  for (const char* suffix : {"-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InstallQuietPrompter();
  static const std::string log = [] {
    const char line[] = "192.0.2.7 - - [10/Oct/2026:13:55:36 +0900] \"GET /diary/ HTTP/1.1\" 200 2326 \"-\" \"Wget\"\n";
    return fuzz::WriteScratch("access.log", reinterpret_cast<const uint8_t*>(line), sizeof line - 1);
  }();
  const std::string path = fuzz::WriteScratch("access.history", data, size);
  RemoveJournals(path);
  {
    // A zone with daylight saving, so a server's row goes through the zone's lookups.
    static const analysis::TimeZone zone = *analysis::TimeZone::FromSetting("America/New_York");
    history::PageViewReader reader;
    if (reader.Open(path, zone)) {
      history::PageViewRecords view;
      while (reader.Next(view)) {
        if (view.page.substr(0, 3) != "1#(" || view.agent.substr(0, 2) != "2#" ||
            view.referrer.substr(0, 2) != "3#" || view.host.substr(0, 2) != "4#")
          std::abort();
      }
    } else if (reader.Error().empty()) {
      std::abort();
    }
  }
  const std::string before = Slurp(path);
  const history::AddOutcome outcome = history::AddLogToHistory(path, log);
  if (!outcome.ok && outcome.historyError && Slurp(path) != before) std::abort();
  RemoveJournals(path);
  return 0;
}
