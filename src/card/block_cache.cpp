// The per-load block cache.
#include "card/block_cache.h"

#include <algorithm>

namespace quorvel {

bool BlockCache::Lookup(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) const {
  if (!Active() || !held_.test(block)) return false;
  std::copy((*blocks_)[block].begin(), (*blocks_)[block].end(), out.begin());
  return true;
}

void BlockCache::Store(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data) {
  if (!Active()) return;
  if (!blocks_) blocks_ = std::make_unique<std::array<std::array<std::uint8_t, kBlockSize>, 256>>();
  std::copy(data.begin(), data.end(), (*blocks_)[block].begin());
  held_.set(block);
}

void BlockCache::Forget(std::uint8_t block) { held_.reset(block); }

void BlockCache::End() {
  if (depth_ == 0) return;
  if (--depth_ == 0) held_.reset();
}

}  // namespace quorvel
