// A per-card block cache that is active for the length of one load, so that the root, FAT,
// directory, save headers and icon frames read during that load cross the link only once.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <span>

#include "link/link_device.h"

namespace quorvel {

class BlockCache {
 public:
  bool Active() const { return depth_ > 0; }

  // True and the block's bytes copied into `out` when it is held.
  bool Lookup(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) const;
  // Remembers what the card holds at `block` (no effect while inactive).
  void Store(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data);
  // Forgets `block`, whose content on the card is no longer known.
  void Forget(std::uint8_t block);

  // Scopes nest; the outermost end drops everything held.
  void Begin() { ++depth_; }
  void End();

 private:
  int depth_ = 0;
  std::bitset<256> held_;
  std::unique_ptr<std::array<std::array<std::uint8_t, kBlockSize>, 256>> blocks_;
};

}  // namespace quorvel
