// Where a table keeps its names' bytes: end to end in blocks that never
// move, each name after its length. A name kept stays at its place until
// the store is cleared, so views of it and pointers to it stay valid while
// the table grows, is sorted or is moved; a lookup reads the length and the
// bytes from one place. Large blocks ask for huge pages (a big table's
// names are read at random).
//
// A store may also use names kept by another store (one table's entry that
// is another's name too, byte for byte): it then holds on to that store's
// blocks, so the names stay valid as long as either store needs them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/huge_pages.h"

namespace vorel::analysis {

class NameStore {
 public:
  // Copies `name` into the store; where its length is kept (KeptName reads it).
  const char* Keep(std::string_view name);
  // Keeps the names of `lender` valid for as long as this store lives.
  void Borrow(const NameStore& lender);
  void Clear();

 private:
  using Block = std::vector<char, platform::HugePageAllocator<char>>;
  struct Blocks {
    std::vector<Block> list;  // each filled up to its capacity, never beyond
    size_t nextBlockBytes = kFirstBlockBytes;
  };
  static constexpr size_t kFirstBlockBytes = 4096;
  std::shared_ptr<Blocks> own_ = std::make_shared<Blocks>();
  std::vector<std::shared_ptr<const Blocks>> borrowed_;
};

inline constexpr size_t kKeptLengthBytes = sizeof(uint64_t);

// The name kept at `kept` (a place Keep returned).
inline std::string_view KeptName(const char* kept) {
  uint64_t size;
  std::memcpy(&size, kept, sizeof size);
  return {kept + kKeptLengthBytes, static_cast<size_t>(size)};
}

}  // namespace vorel::analysis
