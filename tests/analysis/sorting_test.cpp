#include "analysis/sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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

// Names that agree in their first bytes, differ only past them, are
// prefixes of one another or hold NUL and high bytes still sort by bytes.
TEST(SortTable, NamesSortByTheirBytesWhateverTheyShare) {
  std::mt19937 random(7);
  const std::vector<std::string> stems = {"", "a", "http://www.google.co.jp/search?q=", std::string("ab\0", 3),
                                          "\xE6\x97\xA5", "abcdefgh", "abcdefg", "abcdefghijklmno", "abcdefghijklmnop",
                                          std::string(1000, 'x')};
  std::vector<std::pair<std::string, int32_t>> entries;
  for (int i = 0; i < 2000; ++i) {
    std::string name = stems[random() % stems.size()];
    for (size_t n = random() % 4; n > 0; --n) name.push_back("\0a\xFFz"[random() % 4]);
    entries.emplace_back(name, static_cast<int32_t>(random() % 3));
  }
  CategoryTable t = Table(entries);
  SortTable(t, 1, t.Count);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second < b.second : a.first > b.first;
  });
  EXPECT_EQ(Entries(t), entries);
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

// Names of every length, some longer than a block of the table's store,
// are found again after the table grew, in a copy that outlives its
// original, and in a table moved from another.
TEST(CategoryTable, FindsEveryNameAfterGrowingCopyingAndMoving) {
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i) names.push_back(i % 2 ? "s" + std::to_string(i) : std::string(40, 'l') + std::to_string(i));
  names[1500] = std::string(3 * platform::kHugePageBytes, 'L');
  names[2000] = "";
  const auto filled = [&] {
    auto table = std::make_unique<CategoryTable>();
    for (const auto& name : names) EXPECT_NE(table->FindOrAppend(name), 0);
    return table;
  };
  auto original = filled();
  CategoryTable copy;
  copy = *original;
  const CategoryTable copied(*original);
  original.reset();
  CategoryTable moved(std::move(*filled()));
  for (size_t i = 0; i < names.size(); ++i) {
    const auto entry = static_cast<int32_t>(i + 1);
    ASSERT_EQ(copy.Find(names[i]), entry) << names[i];
    ASSERT_EQ(copied.Find(names[i]), entry) << names[i];
    ASSERT_EQ(moved.FindOrAppend(names[i]), entry) << names[i];
  }
  EXPECT_EQ(moved.Count, static_cast<int32_t>(names.size()));
}

// A table that takes a name another table holds byte for byte uses that
// table's bytes, and keeps them valid after the lender is cleared and gone;
// a different name, or an entry the lender does not have, is kept anew.
TEST(CategoryTable, SharesTheBytesOfAnEqualNameWithAnotherTable) {
  const std::string shared(20000, 's');
  auto lender = std::make_unique<CategoryTable>();
  const int32_t lent = lender->FindOrAppend(shared);
  const int32_t other = lender->FindOrAppend("other");
  CategoryTable borrower;
  const int32_t entry = borrower.FindOrAppendSharing(shared, *lender, lent);
  EXPECT_EQ(borrower.Names[entry].data(), lender->Names[lent].data());
  EXPECT_EQ(borrower.FindOrAppendSharing(shared, *lender, lent), entry);
  const int32_t different = borrower.FindOrAppendSharing("other name", *lender, other);
  const int32_t absent = borrower.FindOrAppendSharing("other", *lender, lender->Count + 1);
  EXPECT_NE(borrower.Names[different].data(), lender->Names[other].data());
  EXPECT_NE(borrower.Names[absent].data(), lender->Names[other].data());
  CategoryTable lentOnward;
  EXPECT_EQ(lentOnward.FindOrAppendSharing(shared, borrower, entry), 1);
  lender->Clear();
  lender.reset();
  for (const CategoryTable* table : {&borrower, &lentOnward}) {
    EXPECT_EQ(table->Names[1], shared);
    EXPECT_EQ(table->Find(shared), 1);
  }
  EXPECT_EQ(borrower.Find("other name"), different);
  borrower.Clear();
  EXPECT_EQ(lentOnward.Find(shared), 1);
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
