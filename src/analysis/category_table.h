// One breakdown of the result: parallel arrays of names and counts, entries
// 1..Count (slot 0 unused), with a hash index beside them so that a name is
// found without walking the table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorel::analysis {

// Every table grows as far as 32-bit entry numbers go: one visitor sending
// random agents, or a scanner on a site that answers any path, fills a table
// with distinct names. kSixteenBitEntries is the largest 16-bit entry number,
// a bound that every reader of entry numbers must pass without harm.
constexpr int32_t kMaxTableEntries = 0x7FFFFFFE;
constexpr int32_t kMaxGrowingTableEntries = kMaxTableEntries;
constexpr int32_t kSixteenBitEntries = 32767;

// Keyed hash of a text. The key is drawn at random once per run, so names
// crafted to collide in one run do not collide in the next: visitors write
// the agent, referrer and host texts that the tables are keyed by.
uint64_t HashText(std::string_view s) noexcept;

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept { return static_cast<size_t>(HashText(s)); }
};

class CategoryTable {
 public:
  CategoryTable() : CategoryTable(kMaxTableEntries) {}
  explicit CategoryTable(int32_t limit);

  int32_t Count = 0;
  std::vector<std::string> Names;  // slots 0..Count
  std::vector<int32_t> Counts;     // slots 0..Count

  // Entry number of `name` (exact comparison), or 0 when absent.
  int32_t Find(std::string_view name) const;
  // Appends a new entry; its number, or 0 when the table already holds
  // Limit() entries (nothing is changed then).
  int32_t Append(std::string_view name, int32_t count);
  // Entry number of `name`, appending it with count 0 when absent; 0 when full.
  int32_t FindOrAppend(std::string_view name);

  void Clear();
  // Replaces the whole content (names in entry order, counts 0).
  void AssignNames(const std::vector<std::string>& names);
  // Call after the arrays were rearranged in place (sorting).
  void NamesMoved() { indexValid_ = false; }

  int32_t Limit() const { return limit_; }

 private:
  // Open addressing over entry numbers: a slot holds an entry number (0 =
  // empty) and that name's hash, so a lookup touches one array and one name.
  struct IndexSlot {
    uint32_t hash = 0;
    int32_t entry = 0;
  };
  void RebuildIndex() const;
  size_t Probe(std::string_view name, uint32_t hash) const;
  void Insert(uint32_t hash, int32_t entry) const;
  int32_t Add(std::string_view name, int32_t count, bool findFirst);
  void Grow();
  int32_t limit_;
  mutable std::vector<IndexSlot> index_;
  mutable bool indexValid_ = false;
};

}  // namespace vorel::analysis
