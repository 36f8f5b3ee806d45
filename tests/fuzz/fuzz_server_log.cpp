// A web server's log line: parsing, the page-view rule and the four records.
// Every record must keep its marker, and the page name must end at its ")".
// The records made once a text (server_texts.h) are those of the whole line.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "analysis/server_log.h"
#include "analysis/server_texts.h"

using namespace vorel::analysis;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  ServerLogLine parsed;
  if (!ParseServerLogLine(line, parsed)) return 0;
  (void)IsPageView(parsed);
  AccessRecords records;
  static const TimeZone kTokyo = *TimeZone::FromSetting("Asia/Tokyo");
  if (!MakeAccessRecords(parsed, kTokyo, records)) return 0;
  if (records.page.rfind("1#(", 0) != 0 || records.agent.rfind("2#", 0) != 0 ||
      records.referrer.rfind("3#", 0) != 0 || records.host.rfind("4#", 0) != 0)
    std::abort();
  // The name runs to the first ")", which must be the one closing it: the
  // stamp after it holds none.
  if (records.page.find(')') != records.page.rfind(')')) std::abort();
  if (!IsPageView(parsed)) return 0;
  ServerLogLine raw;
  if (!ParseServerLogLine(line, raw, TextDecoding::None)) std::abort();
  static ServerTextRecords texts;  // kept from input to input, as from line to line
  if (records.page.compare(0, records.page.find(')') + 1, texts.Page(raw.path).record) != 0 ||
      texts.Agent(raw.rawAgent).record != records.agent || texts.Referrer(raw.rawReferrer).record != records.referrer ||
      texts.Host(raw.host).record != records.host)
    std::abort();
  return 0;
}
