// Tests of the IconImage layout and the colour word conversions.
#include "card/icon_image.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(IconImageTest, PixelsAreStoredBottomRowFirst) {
  IconImage image;
  image.SetPixel(0, 0, 7);    // top left
  image.SetPixel(31, 31, 9);  // bottom right
  image.SetPixel(5, 2, 3);
  EXPECT_EQ(image.bytes[768 + 31 * 32], 7);
  EXPECT_EQ(image.bytes[768 + 31], 9);
  EXPECT_EQ(image.bytes[768 + 29 * 32 + 5], 3);
  EXPECT_EQ(image.Pixels()[31 * 32], 7);
  EXPECT_EQ(image.Pixel(5, 2), 3);
}

TEST(IconImageTest, PaletteEntriesAreBlueGreenRed) {
  IconImage image;
  image.SetColour(255, Bgr{1, 2, 3});
  EXPECT_EQ(image.bytes[765], 1);
  EXPECT_EQ(image.bytes[766], 2);
  EXPECT_EQ(image.bytes[767], 3);
  EXPECT_EQ(image.Colour(255), (Bgr{1, 2, 3}));
}

TEST(ColourWordTest, ChannelsBecomeHighNibblesAndAlphaIsDropped) {
  EXPECT_EQ(ColourFromWord(0xFF, 0xFF), (Bgr{0xF0, 0xF0, 0xF0}));
  EXPECT_EQ(ColourFromWord(0x00, 0xF0), (Bgr{0, 0, 0}));
  EXPECT_EQ(ColourFromWord(0x00, 0x00), (Bgr{0, 0, 0}));
  // Low byte: green in the high nibble, blue in the low; high byte: alpha, red.
  EXPECT_EQ(ColourFromWord(0x5A, 0x3C), (Bgr{0xA0, 0x50, 0xC0}));
}

TEST(ColourWordTest, EncodingKeepsHighNibblesWithFullAlpha) {
  EXPECT_EQ(WordFromColour(Bgr{0xFF, 0x80, 0x00}), 0xF08F);
  EXPECT_EQ(WordFromColour(Bgr{0, 0, 0}), 0xF000);
  EXPECT_EQ(WordFromColour(Bgr{0x0F, 0x1F, 0x2F}), 0xF210);
}

TEST(ColourWordTest, DecodingAnEncodedColourKeepsItsHighNibbles) {
  const Bgr colour{0xA7, 0x3C, 0xE1};
  const std::uint16_t word = WordFromColour(colour);
  EXPECT_EQ(ColourFromWord(word & 0xFF, word >> 8), (Bgr{0xA0, 0x30, 0xE0}));
}

}  // namespace
}  // namespace quorvel
