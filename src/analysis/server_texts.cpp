#include "analysis/server_texts.h"

#include <cstring>

#include "analysis/category_table.h"
#include "analysis/server_log.h"

namespace vorel::analysis {

std::string_view ServerTextRecords::Kind::RecordAt(uint64_t at) const {
  Lengths lengths;
  std::memcpy(&lengths, block_.data() + at, sizeof lengths);
  return {block_.data() + at + sizeof lengths + lengths.text, lengths.record};
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
  for (; slots_[i].number != 0; i = (i + 1) & mask) {
    if (slots_[i].hash != hash) continue;
    const char* entry = block_.data() + slots_[i].at;
    Lengths lengths;
    std::memcpy(&lengths, entry, sizeof lengths);
    if (lengths.text == logged.size() &&
        (logged.empty() || std::memcmp(entry + sizeof lengths, logged.data(), logged.size()) == 0))
      return {RecordAt(slots_[i].at), slots_[i].number};
  }
  made_.clear();
  make(logged, made_);
  const Lengths lengths{static_cast<uint32_t>(logged.size()), static_cast<uint32_t>(made_.size())};
  const uint64_t at = block_.size();
  block_.append(reinterpret_cast<const char*>(&lengths), sizeof lengths).append(logged).append(made_);
  slots_[i] = Slot{hash, ++count_, at};
  if (static_cast<size_t>(count_) * 2 > slots_.size()) Grow();
  return {RecordAt(at), count_};
}

// Twice the slots, filled from the hashes kept in the old ones.
void ServerTextRecords::Kind::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.number == 0) continue;
    size_t i = slot.hash & mask;
    while (slots_[i].number != 0) i = (i + 1) & mask;
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
