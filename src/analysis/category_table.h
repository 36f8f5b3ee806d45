// One breakdown of the result: parallel arrays of names and counts, entries
// 1..Count (slot 0 unused), with a hash index beside them so that a name is
// found without walking the table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/name_store.h"
#include "platform/huge_pages.h"

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
  // A copy keeps its own names.
  CategoryTable(const CategoryTable& other);
  CategoryTable& operator=(const CategoryTable& other);
  CategoryTable(CategoryTable&&) noexcept = default;
  CategoryTable& operator=(CategoryTable&&) noexcept = default;

  int32_t Count = 0;
  template <class T>
  using Array = std::vector<T, platform::HugePageAllocator<T>>;
  // Slots 0..Count. The table keeps the names' bytes: a name stays valid
  // until Clear() or an assignment, and sorting moves only the views.
  Array<std::string_view> Names;
  Array<int32_t> Counts;

  // A name with its hash, made a little ahead of its lookup: making it
  // starts fetching the name's place in the index from memory, so that the
  // lookup, after other work, finds it at hand.
  struct Key {
    std::string_view name;
    uint32_t hash;
  };
  Key KeyOf(std::string_view name) const;
  // Later, once the key's place has come: starts fetching the name that the
  // place leads to, and returns that entry number, most likely the key's own
  // (0: none yet), so that the caller may fetch what it keeps by entry.
  int32_t Approach(const Key& key) const;

  // Entry number of `name` (exact comparison), or 0 when absent.
  int32_t Find(std::string_view name) const;
  int32_t Find(const Key& key) const;
  // Appends a new entry; its number, or 0 when the table already holds
  // Limit() entries (nothing is changed then).
  int32_t Append(std::string_view name, int32_t count);
  // Entry number of `name`, appending it with count 0 when absent; 0 when full.
  int32_t FindOrAppend(std::string_view name);
  int32_t FindOrAppend(const Key& key);
  // As FindOrAppend; when `lender`'s entry `lent` holds the same name, a new
  // entry uses its bytes, so that the two tables keep the name once.
  int32_t FindOrAppendSharing(std::string_view name, const CategoryTable& lender, int32_t lent);

  void Clear();
  // Replaces the whole content (names in entry order, counts 0).
  void AssignNames(const std::vector<std::string>& names);
  // Call after the arrays were rearranged in place (sorting).
  void NamesMoved() { indexValid_ = false; }

  int32_t Limit() const { return limit_; }

 private:
  // Open addressing over entry numbers: a slot holds an entry number (0 =
  // empty), that name's hash and where the store keeps it, so a lookup
  // touches the slot and the name, not the entry's view on the way.
  struct IndexSlot {
    uint32_t hash = 0;
    int32_t entry = 0;
    const char* kept = nullptr;
  };
  void RebuildIndex() const;
  int32_t AddEntry(std::string_view name, int32_t count, const CategoryTable* lender = nullptr);
  size_t Probe(std::string_view name, uint32_t hash) const;
  void Insert(const IndexSlot& filled) const;
  int32_t Add(const Key& key, int32_t count, bool findFirst, const CategoryTable* lender = nullptr);
  void Grow();
  int32_t limit_;
  NameStore store_;
  mutable Array<IndexSlot> index_;
  mutable bool indexValid_ = false;
};

}  // namespace vorel::analysis
