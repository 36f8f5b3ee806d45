#include "analysis/server_texts.h"

#include <cstring>

#include "analysis/category_table.h"
#include "analysis/prefetch.h"
#include "analysis/server_log.h"

namespace vorel::analysis {

ServerTextRecords::Text ServerTextRecords::Kind::EntryAt(uint32_t at) const {
  Header header;
  std::memcpy(&header, block_.data() + at, sizeof header);
  return {{records_.data() + header.recordAt, header.record}, header.number};
}

void ServerTextRecords::Kind::Expect(std::string_view logged, AheadText& ahead) {
  ahead.logged = logged;
  ahead.made = !Numbered(logged);
  if (ahead.made) {
    ahead.record.clear();
    make_(logged, ahead.record, scratch_);
    return;
  }
  ahead.hash = static_cast<uint32_t>(HashText(logged));
  Prefetch(&slots_[ahead.hash & (slots_.size() - 1)]);
}

void ServerTextRecords::Kind::Approach(const AheadText& ahead) const {
  if (ahead.made) return;
  // The slot where the lookup will stop: slots taken by other hashes before
  // it lie mostly in the same cache line.
  const size_t mask = slots_.size() - 1;
  size_t i = ahead.hash & mask;
  while (slots_[i].at != 0 && slots_[i].hash != ahead.hash) i = (i + 1) & mask;
  const Slot& slot = slots_[i];
  if (slot.at == 0) return;
  const char* entry = block_.data() + slot.at - 1;
  Prefetch(entry);
  Prefetch(entry + sizeof(Header) + ahead.logged.size());
}

ServerTextRecords::Text ServerTextRecords::Kind::Look(std::string_view logged, const AheadText* ahead) {
  const bool known = ahead && ahead->logged.data() == logged.data() && ahead->logged.size() == logged.size();
  // Numbered then is numbered now: the count only grows.
  if (!Numbered(logged)) {
    if (known && ahead->made) return {ahead->record, -1};
    unnumbered_.clear();
    make_(logged, unnumbered_, scratch_);
    return {unnumbered_, -1};
  }
  const uint32_t hash = known ? ahead->hash : static_cast<uint32_t>(HashText(logged));
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
  make_(logged, made_, scratch_);
  const Header header{++count_, static_cast<uint32_t>(logged.size()), static_cast<uint32_t>(records_.size()),
                      static_cast<uint32_t>(made_.size())};
  const auto at = static_cast<uint32_t>(block_.size());
  block_.append(reinterpret_cast<const char*>(&header), sizeof header).append(logged);
  records_.append(made_);
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

// The makers of each kind's records.
void ServerTextRecords::MakePage(std::string_view path, std::string& record, std::string&) {
  AppendPageRecordStart(path, record);
}

void ServerTextRecords::MakeAgent(std::string_view raw, std::string& record, std::string& decoded) {
  DecodeAgent(raw, decoded);
  record.assign("2#").append(decoded);
}

void ServerTextRecords::MakeReferrer(std::string_view raw, std::string& record, std::string& decoded) {
  DecodeReferrer(raw, decoded);
  record.assign("3#").append(decoded);
}

void ServerTextRecords::MakeHost(std::string_view host, std::string& record, std::string&) {
  AppendHostRecord(host, record);
}

void ServerTextRecords::Expect(std::string_view path, std::string_view rawAgent, std::string_view rawReferrer,
                               std::string_view host, Ahead& ahead) {
  pages_.Expect(path, ahead.page);
  agents_.Expect(rawAgent, ahead.agent);
  referrers_.Expect(rawReferrer, ahead.referrer);
  hosts_.Expect(host, ahead.host);
}

void ServerTextRecords::Approach(const Ahead& ahead) const {
  pages_.Approach(ahead.page);
  agents_.Approach(ahead.agent);
  referrers_.Approach(ahead.referrer);
  hosts_.Approach(ahead.host);
}

ServerTextRecords::Text ServerTextRecords::Page(std::string_view path, const Ahead* ahead) {
  return pages_.Look(path, ahead ? &ahead->page : nullptr);
}

ServerTextRecords::Text ServerTextRecords::Agent(std::string_view raw, const Ahead* ahead) {
  return agents_.Look(raw, ahead ? &ahead->agent : nullptr);
}

ServerTextRecords::Text ServerTextRecords::Referrer(std::string_view raw, const Ahead* ahead) {
  return referrers_.Look(raw, ahead ? &ahead->referrer : nullptr);
}

ServerTextRecords::Text ServerTextRecords::Host(std::string_view host, const Ahead* ahead) {
  return hosts_.Look(host, ahead ? &ahead->host : nullptr);
}

}  // namespace vorel::analysis
