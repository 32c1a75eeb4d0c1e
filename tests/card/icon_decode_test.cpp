// Tests of icon palette and pixel decoding from link-order blocks.
#include "card/icon_decode.h"

#include <gtest/gtest.h>

#include "card/card_fixture.h"
#include "card/icon_test_util.h"

namespace quorvel {
namespace {

using Block = std::array<std::uint8_t, 512>;
using test::Reversed4;

TEST(IconDecodeTest, PaletteComesFromTheColourWordsAt0x60) {
  Block logical{};
  logical[0x60] = 0xFF;  // colour 0: 0xFFFF
  logical[0x61] = 0xFF;
  logical[0x62] = 0x00;  // colour 1: 0xF000
  logical[0x63] = 0xF0;
  logical[0x7E] = 0x21;  // colour 15: 0x0321 (alpha 0)
  logical[0x7F] = 0x03;
  IconImage image;
  image.SetColour(16, Bgr{9, 9, 9});
  DecodeIconPalette(Reversed4(logical), image);
  EXPECT_EQ(image.Colour(0), (Bgr{0xF0, 0xF0, 0xF0}));
  EXPECT_EQ(image.Colour(1), (Bgr{0, 0, 0}));
  EXPECT_EQ(image.Colour(15), (Bgr{0x10, 0x20, 0x30}));
  EXPECT_EQ(image.Colour(16), (Bgr{9, 9, 9}));  // only entries 0 to 15 are touched
}

TEST(IconDecodeTest, UpperRowsComeFromOffset0x80HighNibbleLeft) {
  Block logical{};
  logical[0x80] = 0x1F;                // row 0, pixels 0 and 1
  logical[0x80 + 15] = 0xA5;           // row 0, pixels 30 and 31
  logical[0x80 + 16 * 23 + 2] = 0x7C;  // row 23, pixels 4 and 5
  IconImage image;
  DecodeIconUpperRows(Reversed4(logical), image);
  EXPECT_EQ(image.Pixel(0, 0), 0x1);
  EXPECT_EQ(image.Pixel(1, 0), 0xF);
  EXPECT_EQ(image.Pixel(30, 0), 0xA);
  EXPECT_EQ(image.Pixel(31, 0), 0x5);
  EXPECT_EQ(image.Pixel(4, 23), 0x7);
  EXPECT_EQ(image.Pixel(5, 23), 0xC);
  EXPECT_EQ(image.Pixel(0, 24), 0);  // left to the next block
}

TEST(IconDecodeTest, LowerRowsComeFromTheStartOfTheNextBlock) {
  Block logical{};
  logical[0x00] = 0x23;         // row 24, pixels 0 and 1
  logical[16 * 7 + 15] = 0x9E;  // row 31, pixels 30 and 31
  logical[0x80] = 0xFF;         // not part of the lower rows
  IconImage image;
  DecodeIconLowerRows(Reversed4(logical), image);
  EXPECT_EQ(image.Pixel(0, 24), 2);
  EXPECT_EQ(image.Pixel(1, 24), 3);
  EXPECT_EQ(image.Pixel(30, 31), 9);
  EXPECT_EQ(image.Pixel(31, 31), 0xE);
  EXPECT_EQ(image.Pixel(0, 0), 0);
  // Row 31 is the bottom row, the first one stored.
  EXPECT_EQ(image.bytes[768 + 30], 9);
}

TEST(IconDecodeTest, HeaderByteReadsLinkOrder) {
  Block logical{};
  for (std::size_t i = 0; i < logical.size(); ++i) logical[i] = static_cast<std::uint8_t>(i);
  const Block link = Reversed4(logical);
  EXPECT_EQ(link[0], 3);
  for (std::size_t o : {0u, 1u, 2u, 3u, 0x60u, 0x1FFu}) {
    EXPECT_EQ(HeaderByte(link, o), static_cast<std::uint8_t>(o));
  }
}

}  // namespace
}  // namespace quorvel
