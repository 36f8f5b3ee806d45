#include "analysis/server_texts.h"

#include <cstring>

#include "analysis/category_table.h"
#include "analysis/server_log.h"

namespace vorel::analysis {

ServerTextRecords::Text ServerTextRecords::Kind::EntryAt(uint32_t at) const {
  Header header;
  std::memcpy(&header, block_.data() + at, sizeof header);
  return {{block_.data() + at + sizeof header + header.text, header.record}, header.number};
}

template <class Make>
ServerTextRecords::Text ServerTextRecords::Kind::Look(std::string_view logged, Make make) {
  if (logged.size() > kNumberedTextBytes || count_ >= kNumberedTexts) {
    unnumbered_.clear();
    make(logged, unnumbered_);
    return {unnumbered_, -1};
  }
  const uint32_t hash = static_cast<uint32_t>(HashText(logged));
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  for (; slots_[i].at != 0; i = (i + 1) & mask) {
    if (slots_[i].hash != hash) continue;
    const uint32_t at = slots_[i].at - 1;
    Header header;
    std::memcpy(&header, block_.data() + at, sizeof header);
    if (header.text == logged.size() &&
        (logged.empty() || std::memcmp(block_.data() + at + sizeof header, logged.data(), logged.size()) == 0))
      return EntryAt(at);
  }
  made_.clear();
  make(logged, made_);
  const Header header{++count_, static_cast<uint32_t>(logged.size()), static_cast<uint32_t>(made_.size())};
  const auto at = static_cast<uint32_t>(block_.size());
  block_.append(reinterpret_cast<const char*>(&header), sizeof header).append(logged).append(made_);
  slots_[i] = Slot{hash, at + 1};
  if (static_cast<size_t>(count_) * 2 > slots_.size()) Grow();
  return EntryAt(at);
}

// Twice the slots, filled from the hashes kept in the old ones.
void ServerTextRecords::Kind::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.at == 0) continue;
    size_t i = slot.hash & mask;
    while (slots_[i].at != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

ServerTextRecords::Text ServerTextRecords::Page(std::string_view target) {
  return pages_.Look(PagePath(target), [](std::string_view path, std::string& record) {
    AppendPageRecordStart(path, record);
  });
}

ServerTextRecords::Text ServerTextRecords::Agent(std::string_view raw) {
  return agents_.Look(raw, [this](std::string_view text, std::string& record) {
    DecodeAgent(text, agents_.decoded);
    record.assign("2#").append(agents_.decoded);
  });
}

ServerTextRecords::Text ServerTextRecords::Referrer(std::string_view raw) {
  return referrers_.Look(raw, [this](std::string_view text, std::string& record) {
    DecodeReferrer(text, referrers_.decoded);
    record.assign("3#").append(referrers_.decoded);
  });
}

ServerTextRecords::Text ServerTextRecords::Host(std::string_view host) {
  return hosts_.Look(host, [](std::string_view text, std::string& record) { AppendHostRecord(text, record); });
}

}  // namespace vorel::analysis
