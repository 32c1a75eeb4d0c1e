// Decoding save icons (16-colour palette, 32 x 32 frames of 4-bit pixels) straight from save
// blocks as they are read from a card, in link order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "card/icon_image.h"

namespace quorvel {

inline constexpr std::size_t kIconBlockSize = 512;
inline constexpr std::size_t kIconPaletteOffset = 0x60;  // 16 colour words in the header
inline constexpr std::size_t kIconFrameOffset = 0x80;    // frame k starts 512 * k further
inline constexpr int kIconRowsInFirstBlock = 24;         // the rest are in the next block
inline constexpr int kIconRowBytes = kIconSide / 2;

using LinkBlock = std::span<const std::uint8_t, kIconBlockSize>;

// The byte at header offset `offset` of a block held in link order (each aligned group of four
// bytes reversed).
inline std::uint8_t HeaderByte(LinkBlock block, std::size_t offset) { return block[offset ^ 3]; }

// Palette entries 0 to 15 of `image` from the colour words at 0x60 of a header block.
void DecodeIconPalette(LinkBlock header_block, IconImage& image);

// Rows 0 to 23 of a frame from bytes 0x80 to 0x1FF of the frame's first block.
void DecodeIconUpperRows(LinkBlock first_block, IconImage& image);

// Rows 24 to 31 of a frame from bytes 0x000 to 0x07F of the block after the frame's first.
void DecodeIconLowerRows(LinkBlock next_block, IconImage& image);

}  // namespace quorvel
