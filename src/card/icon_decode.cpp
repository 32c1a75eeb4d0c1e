// Save icon palette and pixel decoding from link-order blocks.
#include "card/icon_decode.h"

namespace quorvel {
namespace {

// Unpacks `rows` rows of two pixels a byte (high nibble left) from header offset `offset`.
void DecodeRows(LinkBlock block, std::size_t offset, int first_row, int rows, IconImage& image) {
  for (int r = 0; r < rows; ++r) {
    for (int b = 0; b < kIconRowBytes; ++b) {
      const std::uint8_t v = HeaderByte(block, offset + kIconRowBytes * r + b);
      image.SetPixel(2 * b, first_row + r, v >> 4);
      image.SetPixel(2 * b + 1, first_row + r, v & 0x0F);
    }
  }
}

}  // namespace

void DecodeIconPalette(LinkBlock header_block, IconImage& image) {
  for (std::size_t i = 0; i < 16; ++i) {
    image.SetColour(i, ColourFromWord(HeaderByte(header_block, kIconPaletteOffset + 2 * i),
                                      HeaderByte(header_block, kIconPaletteOffset + 2 * i + 1)));
  }
}

void DecodeIconUpperRows(LinkBlock first_block, IconImage& image) {
  DecodeRows(first_block, kIconFrameOffset, 0, kIconRowsInFirstBlock, image);
}

void DecodeIconLowerRows(LinkBlock next_block, IconImage& image) {
  DecodeRows(next_block, 0, kIconRowsInFirstBlock, kIconSide - kIconRowsInFirstBlock, image);
}

}  // namespace quorvel
