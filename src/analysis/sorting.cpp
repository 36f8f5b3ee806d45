#include "analysis/sorting.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/prefetch.h"
#include "platform/huge_pages.h"

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
// table's names lie all over memory. Names are compared sixteen bytes at a
// time (two big-endian numbers, so that numbers order as bytes do), from
// `depth` on: each round sorts by those bytes, and only entries that agree
// in them go to the next sixteen. A name is read a few times, not once per
// comparison, however long the start that many names share (a search
// engine's address).
constexpr size_t kRoundBytes = 16;

struct SortKey {
  int32_t count;
  uint32_t rest;        // bytes from the round's depth on, at most 17 ("more than sixteen")
  uint64_t head, tail;  // the name's sixteen bytes from that depth, zero-padded
  std::string_view name;
};

uint64_t BigEndian(const unsigned char* bytes) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = value << 8 | bytes[i];
  return value;
}

void TakeHead(SortKey& key, size_t depth) {
  const size_t rest = key.name.size() - depth;
  unsigned char bytes[kRoundBytes] = {};
  std::memcpy(bytes, key.name.data() + depth, std::min(rest, kRoundBytes));
  key.head = BigEndian(bytes);
  key.tail = BigEndian(bytes + 8);
  key.rest = static_cast<uint32_t>(std::min(rest, kRoundBytes + 1));
}

// Ascending count; equal counts in descending name order, as far as the
// round's bytes tell (a name that ends within them stands after the longer
// names that begin with it).
bool StandsBefore(const SortKey& a, const SortKey& b) {
  if (a.count != b.count) return a.count < b.count;
  if (a.head != b.head) return a.head > b.head;
  if (a.tail != b.tail) return a.tail > b.tail;
  return a.rest > b.rest;
}

bool Tied(const SortKey& a, const SortKey& b) {
  return a.count == b.count && a.head == b.head && a.tail == b.tail && a.rest == b.rest;
}

// The keys of a big table fill megabytes that are written once: huge pages
// save a page fault for every hundred keys.
using SortKeys = std::vector<SortKey, platform::HugePageAllocator<SortKey>>;

void Sort(SortKeys& keys) {
  struct Round {
    size_t begin, end, depth;
  };
  std::vector<Round> rounds{{0, keys.size(), 0}};
  while (!rounds.empty()) {
    const Round round = rounds.back();
    rounds.pop_back();
    const auto first = keys.begin() + static_cast<std::ptrdiff_t>(round.begin);
    const auto last = keys.begin() + static_cast<std::ptrdiff_t>(round.end);
    // A later round's names lie in sorted order, all over memory: fetch ahead.
    constexpr std::ptrdiff_t kAhead = 16;
    for (auto k = first; k != last; ++k) {
      if (last - k > kAhead) Prefetch(k[kAhead].name.data() + round.depth);
      TakeHead(*k, round.depth);
    }
    // Names that all share the round's bytes (a search engine's address) need no sort in it.
    if (std::any_of(first + 1, last, [&](const SortKey& k) { return !Tied(*first, k); }))
      std::sort(first, last, StandsBefore);
    for (size_t i = round.begin; i < round.end;) {
      size_t j = i + 1;
      while (j < round.end && Tied(keys[i], keys[j])) ++j;
      // Equal so far and longer than the round's bytes: the next ones decide.
      if (j - i > 1 && keys[i].rest > kRoundBytes) rounds.push_back({i, j, round.depth + kRoundBytes});
      i = j;
    }
  }
}

}  // namespace

void SortTable(CategoryTable& table, int32_t low, int32_t high) {
  low = std::max(low, 1);
  high = std::min(high, table.Count);
  if (low >= high) return;
  SortKeys keys;
  keys.reserve(static_cast<size_t>(high - low + 1));
  for (int32_t i = low; i <= high; ++i)
    keys.push_back({table.Counts[static_cast<size_t>(i)], 0, 0, 0, table.Names[static_cast<size_t>(i)]});
  Sort(keys);
  for (size_t k = 0; k < keys.size(); ++k) {
    table.Names[static_cast<size_t>(low) + k] = keys[k].name;
    table.Counts[static_cast<size_t>(low) + k] = keys[k].count;
  }
  table.NamesMoved();
}

}  // namespace vorel::analysis
