#include "ui/results/graph_entries.h"

#include <algorithm>

#include "analysis/result.h"
#include "settings/param_store.h"

namespace vorel::ui {
namespace {

using analysis::ResultCount;
using analysis::ResultName;

GraphEntries Columns(const GraphTraits& traits) {
  GraphEntries g;
  for (int slot = traits.kind2; slot <= traits.kind3; ++slot) {
    const int32_t count = ResultCount(traits.kind1, slot);
    g.largest = std::max(g.largest, count);
    if (count > 0) g.entries.push_back({ColumnLabel(traits.kind, slot), count});
  }
  return g;
}

// The table is in ascending order of count, so walking down from the last
// entry gives the largest first.
GraphEntries AllBars(const GraphTraits& traits) {
  GraphEntries g;
  for (int32_t i = ResultCount(traits.kind1); i >= 1; --i) {
    const int32_t count = ResultCount(traits.kind2, i);
    g.largest = std::max(g.largest, count);
    if (count > 0) g.entries.push_back({ResultName(traits.kind3, i), count});
  }
  if (g.largest <= 0) g.entries.clear();
  return g;
}

GraphEntries TopBars(const GraphTraits& traits) {
  GraphEntries g;
  const int32_t entries = ResultCount(traits.kind1);
  const int32_t maxDisp = settings::ParamInt("MaxDisp");
  const int32_t first = entries > maxDisp ? entries - maxDisp + 1 : 1;
  g.largest = entries > 0 ? ResultCount(traits.kind2, entries) : 0;
  if (g.largest <= 0) return g;
  for (int32_t i = entries; i >= first; --i)
    g.entries.push_back({ResultName(traits.kind3, i), ResultCount(traits.kind2, i)});
  return g;
}

}  // namespace

GraphEntries CollectGraphEntries(GraphKind kind) {
  const GraphTraits& traits = TraitsOf(kind);
  switch (traits.style) {
    case GraphStyle::Columns: return Columns(traits);
    case GraphStyle::AllBars: return AllBars(traits);
    case GraphStyle::TopBars: return TopBars(traits);
  }
  return {};
}

std::string EntryText(GraphKind kind, const GraphEntry& entry) {
  if (TraitsOf(kind).style == GraphStyle::Columns) return entry.caption + " " + std::to_string(entry.count);
  return entry.caption + " ( " + std::to_string(entry.count) + " )";
}

}  // namespace vorel::ui
