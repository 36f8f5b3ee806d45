// Merging repeated display names and sorting the category tables into their
// standing order: ascending count, equal counts in descending name order, so
// that readers walking from the last entry down see the largest first.
#pragma once

#include <cstdint>

#include "analysis/category_table.h"

namespace vorel::analysis {

// Gathers the counts of equal names within entries low..high into the first
// of them that has a count of 1 or more; the others keep their names with 0.
void MergeDuplicates(CategoryTable& table, int32_t low, int32_t high);

// Sorts entries low..high into ascending standing, each name with its count.
void SortTable(CategoryTable& table, int32_t low, int32_t high);

}  // namespace vorel::analysis
