#include "analysis/server_texts.h"

#include "analysis/server_log.h"

namespace vorel::analysis {

template <class Make>
ServerTextRecords::Text ServerTextRecords::Look(Kind& kind, std::string_view logged, Make make) {
  if (logged.size() > kNumberedTextBytes || kind.logged.Count >= kNumberedTexts) {
    kind.unnumbered.clear();
    make(logged, kind.unnumbered);
    return {kind.unnumbered, -1};
  }
  int32_t number = kind.logged.Find(logged);
  if (number == 0) {
    number = kind.logged.Append(logged, 0);
    kind.records.emplace_back();
    make(logged, kind.records.back());
  }
  return {kind.records[static_cast<size_t>(number)], number};
}

ServerTextRecords::Text ServerTextRecords::Page(std::string_view target) {
  return Look(pages_, PagePath(target), [](std::string_view path, std::string& record) {
    AppendPageRecordStart(path, record);
  });
}

ServerTextRecords::Text ServerTextRecords::Agent(std::string_view raw) {
  return Look(agents_, raw, [this](std::string_view text, std::string& record) {
    DecodeAgent(text, agents_.decoded);
    record.assign("2#").append(agents_.decoded);
  });
}

ServerTextRecords::Text ServerTextRecords::Referrer(std::string_view raw) {
  return Look(referrers_, raw, [this](std::string_view text, std::string& record) {
    DecodeReferrer(text, referrers_.decoded);
    record.assign("3#").append(referrers_.decoded);
  });
}

ServerTextRecords::Text ServerTextRecords::Host(std::string_view host) {
  return Look(hosts_, host, [](std::string_view text, std::string& record) { AppendHostRecord(text, record); });
}

}  // namespace vorel::analysis
