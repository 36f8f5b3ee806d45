#include "analysis/category_table.h"

#include <chrono>
#include <cstring>
#include <random>

#include "analysis/prefetch.h"

namespace vorel::analysis {

namespace {

struct HashKey {
  uint64_t k0, k1, k2;
};

uint64_t SplitMix(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

const HashKey& Key() {
  static const HashKey key = [] {
    std::random_device device;
    uint64_t state = (static_cast<uint64_t>(device()) << 32) ^ device();
    state ^= static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    HashKey k{SplitMix(state), SplitMix(state), SplitMix(state)};
    return k;
  }();
  return key;
}

// The 128-bit product folded to 64 bits: one multiplication mixes 16 bytes.
inline uint64_t Fold(uint64_t a, uint64_t b) {
  const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
  return static_cast<uint64_t>(p) ^ static_cast<uint64_t>(p >> 64);
}

inline uint64_t Load8(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline uint64_t Load4(const char* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

uint32_t Hash32(std::string_view s) { return static_cast<uint32_t>(HashText(s)); }

}  // namespace

uint64_t HashText(std::string_view s) noexcept {
  const HashKey& key = Key();
  const char* p = s.data();
  size_t n = s.size();
  uint64_t h = key.k0 ^ (n * 0x9E3779B97F4A7C15ull);
  uint64_t a = 0, b = 0;
  if (n <= 16) {
    // Short keys, the common case: two overlapping loads cover every byte.
    if (n >= 8) {
      a = Load8(p);
      b = Load8(p + n - 8);
    } else if (n >= 4) {
      a = Load4(p);
      b = Load4(p + n - 4);
    } else if (n > 0) {
      a = (static_cast<uint64_t>(static_cast<unsigned char>(p[0])) << 16) |
          (static_cast<uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8) | static_cast<unsigned char>(p[n - 1]);
    }
  } else {
    // Two lanes of 16 bytes per step keep the multiplier busy.
    uint64_t h2 = h ^ key.k2;
    while (n > 32) {
      h = Fold(Load8(p) ^ key.k1, Load8(p + 8) ^ h);
      h2 = Fold(Load8(p + 16) ^ key.k2, Load8(p + 24) ^ h2);
      p += 32;
      n -= 32;
    }
    h ^= h2;
    if (n > 16) {
      h = Fold(Load8(p) ^ key.k1, Load8(p + 8) ^ h);
      p += 16;
      n -= 16;
    }
    a = Load8(p + n - 16);
    b = Load8(p + n - 8);
  }
  h = Fold(a ^ key.k1, b ^ h);
  return Fold(h ^ key.k2, static_cast<uint64_t>(s.size()) ^ key.k1);
}

CategoryTable::CategoryTable(int32_t limit) : Names(1), Counts(1, 0), limit_(limit) {}

CategoryTable::CategoryTable(const CategoryTable& other) : CategoryTable(other.limit_) { *this = other; }

CategoryTable& CategoryTable::operator=(const CategoryTable& other) {
  if (this == &other) return *this;
  Clear();
  limit_ = other.limit_;
  Names.reserve(other.Names.size());
  Counts.reserve(other.Counts.size());
  for (int32_t i = 1; i <= other.Count; ++i)
    AddEntry(other.Names[static_cast<size_t>(i)], other.Counts[static_cast<size_t>(i)]);
  return *this;
}

// The slot holding `name`, or the empty slot where it would go.
size_t CategoryTable::Probe(std::string_view name, uint32_t hash) const {
  const size_t mask = index_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const IndexSlot& slot = index_[i];
    if (slot.entry == 0) return i;
    if (slot.hash == hash && KeptName(slot.kept) == name) return i;
  }
}

CategoryTable::Key CategoryTable::KeyOf(std::string_view name) const {
  const Key key{name, Hash32(name)};
  if (indexValid_) Prefetch(&index_[key.hash & (index_.size() - 1)]);
  return key;
}

int32_t CategoryTable::Approach(const Key& key) const {
  if (!indexValid_) return 0;
  const IndexSlot& slot = index_[key.hash & (index_.size() - 1)];
  if (slot.entry == 0 || slot.hash != key.hash) return 0;
  Prefetch(slot.kept);
  // A name often runs on into the next cache line.
  Prefetch(slot.kept + kKeptLengthBytes + key.name.size() - 1);
  return slot.entry;
}

int32_t CategoryTable::Find(std::string_view name) const { return Find(Key{name, Hash32(name)}); }

int32_t CategoryTable::Find(const Key& key) const {
  if (!indexValid_) RebuildIndex();
  return index_[Probe(key.name, key.hash)].entry;
}

void CategoryTable::Insert(const IndexSlot& filled) const {
  const size_t mask = index_.size() - 1;
  size_t i = filled.hash & mask;
  while (index_[i].entry != 0) i = (i + 1) & mask;
  index_[i] = filled;
}

// A new last entry, its name kept in the store (or in `lender`'s, where
// `name` lies) but not yet in the index.
int32_t CategoryTable::AddEntry(std::string_view name, int32_t count, const CategoryTable* lender) {
  if (lender) {
    store_.Borrow(lender->store_);
    Names.push_back(name);
  } else {
    Names.push_back(KeptName(store_.Keep(name)));
  }
  Counts.push_back(count);
  return ++Count;
}

int32_t CategoryTable::Add(const Key& key, int32_t count, bool findFirst, const CategoryTable* lender) {
  if (!indexValid_) RebuildIndex();
  const auto [name, hash] = key;
  const size_t slot = Probe(name, hash);
  const int32_t known = index_[slot].entry;
  if (known != 0 && findFirst) return known;
  if (Count >= limit_) return 0;
  AddEntry(name, count, lender);
  // The first of equal names keeps the index (OS and browser names may repeat).
  if (known == 0) index_[slot] = IndexSlot{hash, Count, Names.back().data() - kKeptLengthBytes};
  if (static_cast<size_t>(Count) * 4 > index_.size() * 3) Grow();
  return Count;
}

int32_t CategoryTable::Append(std::string_view name, int32_t count) { return Add(Key{name, Hash32(name)}, count, false); }

int32_t CategoryTable::FindOrAppend(std::string_view name) { return FindOrAppend(Key{name, Hash32(name)}); }

int32_t CategoryTable::FindOrAppend(const Key& key) { return Add(key, 0, true); }

int32_t CategoryTable::FindOrAppendSharing(std::string_view name, const CategoryTable& lender, int32_t lent) {
  if (lent < 1 || lent > lender.Count || lender.Names[static_cast<size_t>(lent)] != name) return FindOrAppend(name);
  const std::string_view lentName = lender.Names[static_cast<size_t>(lent)];
  return Add(Key{lentName, Hash32(lentName)}, 0, true, &lender);
}

// Twice the slots, filled from the old ones: no name is read or hashed again.
void CategoryTable::Grow() {
  Array<IndexSlot> old(index_.size() * 2);
  old.swap(index_);
  for (const IndexSlot& slot : old)
    if (slot.entry != 0) Insert(slot);
}

void CategoryTable::Clear() {
  Count = 0;
  Names.assign(1, std::string_view());
  Counts.assign(1, 0);
  store_.Clear();
  index_.clear();
  indexValid_ = false;
}

void CategoryTable::AssignNames(const std::vector<std::string>& names) {
  Clear();
  for (const auto& n : names) Append(n, 0);
}

void CategoryTable::RebuildIndex() const {
  size_t capacity = 16;
  while (capacity * 3 < static_cast<size_t>(Count) * 4 + 4) capacity *= 2;
  index_.assign(capacity, IndexSlot{});
  indexValid_ = true;
  for (int32_t i = 1; i <= Count; ++i) {
    const std::string_view name = Names[static_cast<size_t>(i)];
    const uint32_t hash = Hash32(name);
    IndexSlot& slot = index_[Probe(name, hash)];
    if (slot.entry == 0) slot = IndexSlot{hash, i, name.data() - kKeptLengthBytes};
  }
}

}  // namespace vorel::analysis
