// What a graph shows, entry by entry in the order drawn: the column or bar
// caption and its count. The drawing routine draws exactly these; screen
// readers read them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/results/graph_kinds.h"

namespace vorel::ui {

struct GraphEntry {
  std::string caption;  // column label, or entry name
  int32_t count = 0;
};

struct GraphEntries {
  std::vector<GraphEntry> entries;
  int32_t largest = 0;  // the count the scale is made for
};

// Columns: the period slots with accesses. OS and browser: every entry with a
// count, largest first. Agent, host, previous page, page: the MaxDisp largest
// entries, zero counts too, when the largest count is above zero.
GraphEntries CollectGraphEntries(GraphKind kind);

// The entry as the graph writes it: "3月 128" under a column, "name ( 12 )"
// over a bar.
std::string EntryText(GraphKind kind, const GraphEntry& entry);

}  // namespace vorel::ui
