// Invariants over whole card images (link order, 131,072 bytes) that the fuzz targets and
// the fault-injection soak check after every operation.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "card/card_image.h"

namespace quorvel::invariants {

// The FAT of an image, decoded from block 254 in link order.
inline std::array<std::uint16_t, kCardBlocks> FatOf(std::span<const std::uint8_t> image) {
  std::array<std::uint16_t, kCardBlocks> fat{};
  const std::size_t base = std::size_t{kFatBlock} * kBlockSize;
  // Link order reverses every group of four bytes: logical byte i is at i ^ 3.
  for (std::size_t i = 0; i < kCardBlocks; ++i) {
    const std::uint8_t low = image[base + ((2 * i) ^ 3)];
    const std::uint8_t high = image[base + ((2 * i + 1) ^ 3)];
    fat[i] = static_cast<std::uint16_t>(low | high << 8);
  }
  return fat;
}

inline bool SameBlock(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, int block) {
  const std::size_t offset = static_cast<std::size_t>(block) * kBlockSize;
  return std::equal(a.begin() + offset, a.begin() + offset + kBlockSize, b.begin() + offset);
}

// True when `after` stores what `before` stored: the root, FAT and directory blocks are the
// same bytes, and so is every block that `before`'s FAT holds in use. Free blocks may differ:
// a failed operation may have written into blocks it had planned to take.
inline bool SameCardContent(std::span<const std::uint8_t> before,
                            std::span<const std::uint8_t> after) {
  if (before.size() != kImageFileSize || after.size() != kImageFileSize) return false;
  const std::array<std::uint16_t, kCardBlocks> fat = FatOf(before);
  for (int block = 0; block < kCardBlocks; ++block) {
    const bool system = block >= kLastDirectoryBlock;
    if ((system || fat[block] != kFatFree) && !SameBlock(before, after, block)) return false;
  }
  return true;
}

}  // namespace quorvel::invariants
