// The unit every layer moves a card in: one 512-byte block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvel {

inline constexpr std::size_t kBlockSize = 512;

using Block = std::array<std::uint8_t, kBlockSize>;

}  // namespace quorvel
