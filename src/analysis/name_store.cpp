#include "analysis/name_store.h"

#include <algorithm>

namespace vorel::analysis {

const char* NameStore::Keep(std::string_view name) {
  if (!own_) own_ = std::make_shared<Blocks>();  // a store moved from
  std::vector<Block>& blocks = own_->list;
  const size_t bytes = kKeptLengthBytes + name.size();
  if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < bytes) {
    // Blocks double up to a huge page; a longer name gets a block of its own size.
    blocks.emplace_back().reserve(std::max(own_->nextBlockBytes, bytes));
    own_->nextBlockBytes = std::min(own_->nextBlockBytes * 2, platform::kHugePageBytes);
  }
  Block& block = blocks.back();
  const size_t at = block.size();
  const auto size = static_cast<uint64_t>(name.size());
  const char* sizeBytes = reinterpret_cast<const char*>(&size);
  // Within the reserved capacity: the block's bytes do not move.
  block.insert(block.end(), sizeBytes, sizeBytes + sizeof size);
  block.insert(block.end(), name.begin(), name.end());
  return block.data() + at;
}

// The lender's own blocks, and those it borrowed in turn.
void NameStore::Borrow(const NameStore& lender) {
  const auto hold = [this](const std::shared_ptr<const Blocks>& blocks) {
    if (blocks && std::find(borrowed_.begin(), borrowed_.end(), blocks) == borrowed_.end()) borrowed_.push_back(blocks);
  };
  hold(lender.own_);
  for (const auto& blocks : lender.borrowed_) hold(blocks);
}

// New blocks rather than emptied ones: a store that borrowed them may still use them.
void NameStore::Clear() {
  own_ = std::make_shared<Blocks>();
  borrowed_.clear();
}

}  // namespace vorel::analysis
