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

CategoryTable::CategoryTable() : Names(1), Counts(1, 0) {}

int32_t CategoryTable::Find(std::string_view name) const {
  if (!indexValid_) RebuildIndex();
  auto it = index_.find(name);
  return it == index_.end() ? 0 : it->second;
}

int32_t CategoryTable::Append(std::string_view name, int32_t count) {
  if (Count >= kMaxTableEntries) return 0;
  if (!indexValid_) RebuildIndex();
  ++Count;
  Names.emplace_back(name);
  Counts.push_back(count);
  // The first of equal names keeps the index (OS and browser names may repeat).
  index_.try_emplace(std::string(name), Count);
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
  indexValid_ = true;
}

void CategoryTable::AssignNames(const std::vector<std::string>& names) {
  Clear();
  for (const auto& n : names) Append(n, 0);
}

void CategoryTable::RebuildIndex() const {
  index_.clear();
  index_.reserve(static_cast<size_t>(Count));
  for (int32_t i = 1; i <= Count; ++i) index_.try_emplace(Names[static_cast<size_t>(i)], i);
  indexValid_ = true;
}

}  // namespace vorel::analysis
