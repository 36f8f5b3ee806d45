#include "analysis/category_table.h"

namespace vorel::analysis {

size_t TextHash::operator()(std::string_view s) const noexcept {
  // FNV-1a over 8-byte words: fast for the short keys of a log.
  uint64_t h = 14695981039346656037ull;
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    __builtin_memcpy(&w, s.data() + i, 8);
    h = (h ^ w) * 1099511628211ull;
    h ^= h >> 29;
  }
  for (; i < s.size(); ++i) h = (h ^ static_cast<unsigned char>(s[i])) * 1099511628211ull;
  return static_cast<size_t>(h ^ (h >> 32));
}

namespace {
uint32_t Hash32(std::string_view s) { return static_cast<uint32_t>(TextHash{}(s)); }
}  // namespace

CategoryTable::CategoryTable() : Names(1), Counts(1, 0) {}

int32_t CategoryTable::Find(std::string_view name) const {
  if (!indexValid_) RebuildIndex();
  const uint32_t h = Hash32(name);
  const size_t mask = index_.size() - 1;
  for (size_t i = h & mask;; i = (i + 1) & mask) {
    const IndexSlot& slot = index_[i];
    if (slot.entry == 0) return 0;
    if (slot.hash == h && Names[static_cast<size_t>(slot.entry)] == name) return slot.entry;
  }
}

void CategoryTable::Insert(uint32_t hash, int32_t entry) const {
  const size_t mask = index_.size() - 1;
  size_t i = hash & mask;
  while (index_[i].entry != 0) i = (i + 1) & mask;
  index_[i] = IndexSlot{hash, entry};
}

int32_t CategoryTable::Append(std::string_view name, int32_t count) {
  if (Count >= kMaxTableEntries) return 0;
  if (!indexValid_) RebuildIndex();
  // The first of equal names keeps the index (OS and browser names may repeat).
  const bool known = Find(name) != 0;
  ++Count;
  Names.emplace_back(name);
  Counts.push_back(count);
  if (static_cast<size_t>(Count) * 2 > index_.size()) RebuildIndex();
  else if (!known) Insert(Hash32(name), Count);
  return Count;
}

int32_t CategoryTable::FindOrAppend(std::string_view name) {
  int32_t entry = Find(name);
  return entry != 0 ? entry : Append(name, 0);
}

void CategoryTable::Clear() {
  Count = 0;
  Names.assign(1, std::string());
  Counts.assign(1, 0);
  index_.clear();
  indexValid_ = false;
}

void CategoryTable::AssignNames(const std::vector<std::string>& names) {
  Clear();
  for (const auto& n : names) Append(n, 0);
}

void CategoryTable::RebuildIndex() const {
  size_t capacity = 16;
  while (capacity < static_cast<size_t>(Count) * 2 + 2) capacity *= 2;
  index_.assign(capacity, IndexSlot{});
  indexValid_ = true;
  for (int32_t i = 1; i <= Count; ++i) {
    const std::string& name = Names[static_cast<size_t>(i)];
    if (Find(name) == 0) Insert(Hash32(name), i);
  }
}

}  // namespace vorel::analysis
