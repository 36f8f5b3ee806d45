#include "analysis/sorting.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorel::analysis {

void MergeDuplicates(CategoryTable& table, int32_t low, int32_t high) {
  low = std::max(low, 1);
  high = std::min(high, table.Count);
  std::unordered_map<std::string, int32_t, TextHash, std::equal_to<>> collector;
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

void SortTable(CategoryTable& table, int32_t low, int32_t high) {
  low = std::max(low, 1);
  high = std::min(high, table.Count);
  if (low >= high) return;
  std::vector<int32_t> order(static_cast<size_t>(high - low + 1));
  std::iota(order.begin(), order.end(), low);
  const auto& names = table.Names;
  const auto& counts = table.Counts;
  std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    int32_t ca = counts[static_cast<size_t>(a)], cb = counts[static_cast<size_t>(b)];
    if (ca != cb) return ca < cb;
    return names[static_cast<size_t>(a)] > names[static_cast<size_t>(b)];  // byte order = code point order
  });
  std::vector<std::string> sortedNames;
  std::vector<int32_t> sortedCounts;
  sortedNames.reserve(order.size());
  sortedCounts.reserve(order.size());
  for (int32_t i : order) {
    sortedNames.push_back(std::move(table.Names[static_cast<size_t>(i)]));
    sortedCounts.push_back(table.Counts[static_cast<size_t>(i)]);
  }
  for (size_t k = 0; k < order.size(); ++k) {
    table.Names[static_cast<size_t>(low) + k] = std::move(sortedNames[k]);
    table.Counts[static_cast<size_t>(low) + k] = sortedCounts[k];
  }
  table.NamesMoved();
}

}  // namespace vorel::analysis
