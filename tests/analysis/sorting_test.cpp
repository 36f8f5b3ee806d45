#include "analysis/sorting.h"

#include <gtest/gtest.h>

#include <random>

namespace vorel::analysis {
namespace {

CategoryTable Table(std::vector<std::pair<std::string, int32_t>> entries) {
  CategoryTable t;
  for (auto& [name, count] : entries) t.Append(name, count);
  return t;
}

std::vector<std::pair<std::string, int32_t>> Entries(const CategoryTable& t) {
  std::vector<std::pair<std::string, int32_t>> out;
  for (int32_t i = 1; i <= t.Count; ++i) out.emplace_back(t.Names[i], t.Counts[i]);
  return out;
}

TEST(SortTable, AscendingCountThenDescendingName) {
  CategoryTable t = Table({{"b", 5}, {"a", 9}, {"c", 5}});
  SortTable(t, 1, t.Count);
  EXPECT_EQ(Entries(t), (std::vector<std::pair<std::string, int32_t>>{{"c", 5}, {"b", 5}, {"a", 9}}));
  // Lookups follow the moved names.
  EXPECT_EQ(t.Find("a"), 3);
  EXPECT_EQ(t.Find("c"), 1);
}

TEST(SortTable, EqualCountsEndInNameOrderAndSortingTwiceChangesNothing) {
  CategoryTable t = Table({{"日記", 1}, {"b", 1}, {"B", 1}, {"a", 1}});
  SortTable(t, 1, t.Count);
  auto once = Entries(t);
  EXPECT_EQ(once, (std::vector<std::pair<std::string, int32_t>>{{"日記", 1}, {"b", 1}, {"a", 1}, {"B", 1}}));
  SortTable(t, 1, t.Count);
  EXPECT_EQ(Entries(t), once);
}

TEST(SortTable, LargeSortedTablesAndEmptyOnesAreFine) {
  CategoryTable t;
  for (int i = 0; i < kSixteenBitEntries + 10; ++i) t.Append("n" + std::to_string(i), i);
  SortTable(t, 1, t.Count);
  SortTable(t, 1, t.Count);
  for (int32_t i = 2; i <= t.Count; ++i) ASSERT_LE(t.Counts[i - 1], t.Counts[i]);
  CategoryTable empty;
  SortTable(empty, 1, 0);
  MergeDuplicates(empty, 1, 0);
  EXPECT_EQ(empty.Count, 0);
}

TEST(MergeDuplicates, TheFirstCountedEntryCollectsItsName) {
  CategoryTable t = Table({{"Windows 98", 0}, {"Linux", 2}, {"Windows 98", 4}, {"Windows 98", 6}});
  MergeDuplicates(t, 1, t.Count);
  EXPECT_EQ(Entries(t), (std::vector<std::pair<std::string, int32_t>>{
                            {"Windows 98", 0}, {"Linux", 2}, {"Windows 98", 10}, {"Windows 98", 0}}));
  SortTable(t, 1, t.Count);
  EXPECT_EQ(t.Names[t.Count], "Windows 98");
  EXPECT_EQ(t.Counts[t.Count], 10);
  EXPECT_EQ(t.Counts[1], 0);
}

TEST(CategoryTable, RefusesTheEntryPastTheLimit) {
  constexpr int32_t kLimit = 40;
  CategoryTable t(kLimit);
  for (int i = 0; i < kLimit; ++i) ASSERT_NE(t.Append(std::to_string(i), 0), 0);
  EXPECT_EQ(t.Append("one more", 0), 0);
  EXPECT_EQ(t.Count, kLimit);
  EXPECT_EQ(t.FindOrAppend("1"), 2);
  EXPECT_EQ(t.Find("one more"), 0);
}

}  // namespace
}  // namespace vorel::analysis
