#include "analysis/sorting.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorel::analysis {

void MergeDuplicates(CategoryTable& table, int32_t low, int32_t high) {
  low = std::max(low, 1);
  high = std::min(high, table.Count);
  std::unordered_map<std::string_view, int32_t, TextHash> collector;
  for (int32_t i = low; i <= high; ++i) {
    int32_t& count = table.Counts[static_cast<size_t>(i)];
    if (count < 1) continue;
    auto [it, fresh] = collector.try_emplace(table.Names[static_cast<size_t>(i)], i);
    if (fresh) continue;
    // Counts of one name add up to at most the total of accesses, so this cannot overflow.
    table.Counts[static_cast<size_t>(it->second)] += count;
    count = 0;
  }
}

namespace {

// What the sort compares of one entry, side by side in one array: a big
// table's names lie all over memory. Names are compared eight bytes at a
// time (a big-endian number, so that numbers order as bytes do), from
// `depth` on: each round sorts by those bytes, and only entries that agree
// in them go to the next eight. A name is read a few times, not once per
// comparison, however long the start that many names share (a search
// engine's address).
struct SortKey {
  int32_t count;
  uint64_t head;  // the name's eight bytes from the round's depth, zero-padded
  uint32_t rest;  // bytes from that depth on, at most 9 ("more than eight")
  std::string_view name;
};

void TakeHead(SortKey& key, size_t depth) {
  const size_t rest = key.name.size() - depth;
  unsigned char bytes[8] = {};
  std::memcpy(bytes, key.name.data() + depth, std::min<size_t>(rest, 8));
  key.head = 0;
  for (unsigned char b : bytes) key.head = key.head << 8 | b;
  key.rest = static_cast<uint32_t>(std::min<size_t>(rest, 9));
}

// Ascending count; equal counts in descending name order, as far as the
// round's bytes tell (a name that ends within them stands after the longer
// names that begin with it).
bool StandsBefore(const SortKey& a, const SortKey& b) {
  if (a.count != b.count) return a.count < b.count;
  if (a.head != b.head) return a.head > b.head;
  return a.rest > b.rest;
}

bool Tied(const SortKey& a, const SortKey& b) { return a.count == b.count && a.head == b.head && a.rest == b.rest; }

void SortKeys(std::vector<SortKey>& keys) {
  struct Round {
    size_t begin, end, depth;
  };
  std::vector<Round> rounds{{0, keys.size(), 0}};
  while (!rounds.empty()) {
    const Round round = rounds.back();
    rounds.pop_back();
    const auto first = keys.begin() + static_cast<std::ptrdiff_t>(round.begin);
    const auto last = keys.begin() + static_cast<std::ptrdiff_t>(round.end);
    for (auto k = first; k != last; ++k) TakeHead(*k, round.depth);
    std::sort(first, last, StandsBefore);
    for (size_t i = round.begin; i < round.end;) {
      size_t j = i + 1;
      while (j < round.end && Tied(keys[i], keys[j])) ++j;
      // Equal so far and longer than the round's bytes: the next eight decide.
      if (j - i > 1 && keys[i].rest > 8) rounds.push_back({i, j, round.depth + 8});
      i = j;
    }
  }
}

}  // namespace

void SortTable(CategoryTable& table, int32_t low, int32_t high) {
  low = std::max(low, 1);
  high = std::min(high, table.Count);
  if (low >= high) return;
  std::vector<SortKey> keys;
  keys.reserve(static_cast<size_t>(high - low + 1));
  for (int32_t i = low; i <= high; ++i)
    keys.push_back({table.Counts[static_cast<size_t>(i)], 0, 0, table.Names[static_cast<size_t>(i)]});
  SortKeys(keys);
  for (size_t k = 0; k < keys.size(); ++k) {
    table.Names[static_cast<size_t>(low) + k] = keys[k].name;
    table.Counts[static_cast<size_t>(low) + k] = keys[k].count;
  }
  table.NamesMoved();
}

}  // namespace vorel::analysis
