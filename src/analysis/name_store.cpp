#include "analysis/name_store.h"

#include <algorithm>

namespace vorel::analysis {

const char* NameStore::Keep(std::string_view name) {
  const size_t bytes = kKeptLengthBytes + name.size();
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < bytes) {
    // Blocks double up to a huge page; a longer name gets a block of its own size.
    blocks_.emplace_back().reserve(std::max(nextBlockBytes_, bytes));
    nextBlockBytes_ = std::min(nextBlockBytes_ * 2, platform::kHugePageBytes);
  }
  Block& block = blocks_.back();
  const size_t at = block.size();
  const auto size = static_cast<uint64_t>(name.size());
  const char* sizeBytes = reinterpret_cast<const char*>(&size);
  // Within the reserved capacity: the block's bytes do not move.
  block.insert(block.end(), sizeBytes, sizeBytes + sizeof size);
  block.insert(block.end(), name.begin(), name.end());
  return block.data() + at;
}

void NameStore::Clear() {
  blocks_.clear();
  nextBlockBytes_ = kFirstBlockBytes;
}

}  // namespace vorel::analysis
