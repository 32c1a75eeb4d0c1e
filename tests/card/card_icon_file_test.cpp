// Tests of the ICONDATA_VMS single-save file.
#include "card/card_icon_file.h"

#include <gtest/gtest.h>

#include <string>

#include "card/card_fixture.h"
#include "card/icon_test_util.h"

namespace quorvel {
namespace {

using test::ReadFile;
using test::TempDir;

using File = std::array<std::uint8_t, kCardIconFileSize>;

// The byte at save offset `o` (the order of the card format) of the file.
std::uint8_t SaveByte(const File& file, std::size_t o) { return file[32 + (o ^ 3)]; }

std::string Description(const File& file) {
  std::string text;
  for (std::size_t o = 0; o < 16; ++o) text += static_cast<char>(SaveByte(file, o));
  return text;
}

IconImage Picture() {
  IconImage image;
  for (std::size_t i = 0; i < 16; ++i) {
    image.SetColour(i, Bgr{static_cast<std::uint8_t>(i * 16), 0x40, 0xC0});
  }
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) image.SetPixel(x, y, static_cast<std::uint8_t>((x + y) % 16));
  }
  return image;
}

IconImage Monochrome(std::bitset<16> dark) {
  IconImage mono = Picture();
  SetDarkColours(mono, dark);
  return mono;
}

TEST(CardIconFileTest, DirectoryEntryIsFixed) {
  const File file = BuildCardIconFile(Picture(), Monochrome({}), "No Name");
  const std::array<std::uint8_t, 32> entry = {0x33, 0x00, 0xC7, 0x00, 'I',  'C',  'O',  'N',
                                              'D',  'A',  'T',  'A',  '_',  'V',  'M',  'S',
                                              0x19, 0x98, 0x12, 0x12, 0x00, 0x00, 0x00, 0x05,
                                              0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_TRUE(std::equal(entry.begin(), entry.end(), file.begin()));
}

TEST(CardIconFileTest, DescriptionIsTheNamePaddedOrCutTo16) {
  EXPECT_EQ(Description(BuildCardIconFile(Picture(), Monochrome({}), "No Name")),
            "No Name         ");
  EXPECT_EQ(Description(BuildCardIconFile(Picture(), Monochrome({}), "A name that is too long")),
            "A name that is t");
  EXPECT_EQ(Description(BuildCardIconFile(Picture(), Monochrome({}), "")), std::string(16, ' '));
}

TEST(CardIconFileTest, OffsetsPaletteAndFiller) {
  IconImage colour = Picture();
  colour.SetColour(3, Bgr{0xFF, 0x80, 0x00});
  const File file = BuildCardIconFile(colour, Monochrome({}), "x");
  EXPECT_EQ(SaveByte(file, 0x10), 0x20);
  EXPECT_EQ(SaveByte(file, 0x14), 0xA0);
  for (std::size_t o : {0x11u, 0x12u, 0x13u, 0x15u, 0x16u, 0x17u}) EXPECT_EQ(SaveByte(file, o), 0);
  for (std::size_t o = 0x18; o < 0x20; ++o) EXPECT_EQ(SaveByte(file, o), 0);
  // Colour 3 = 0xF08F, little-endian.
  EXPECT_EQ(SaveByte(file, 0xA0 + 6), 0x8F);
  EXPECT_EQ(SaveByte(file, 0xA0 + 7), 0xF0);
  for (std::size_t o = 0x2C0; o < 0x400; ++o) EXPECT_EQ(SaveByte(file, o), 0x1A) << o;
  // Link order on disk: save bytes 0x10..0x13 (0x20 0 0 0) appear reversed.
  EXPECT_EQ(file[32 + 0x10], 0);
  EXPECT_EQ(file[32 + 0x13], 0x20);
}

TEST(CardIconFileTest, ColourBitmapPacksTwoPixelsAByteAndWrapsIndices) {
  IconImage colour = Picture();
  colour.SetPixel(0, 0, 0x11);  // 17 shows as colour 1
  colour.SetPixel(1, 0, 0xF2);
  colour.SetPixel(31, 31, 0x0E);
  const File file = BuildCardIconFile(colour, Monochrome({}), "x");
  EXPECT_EQ(SaveByte(file, 0xC0), 0x12);
  EXPECT_EQ(SaveByte(file, 0xC0 + 16 * 31 + 15), (30 + 31) % 16 << 4 | 0x0E);
}

TEST(CardIconFileTest, NoDarkColourGivesABlankMonochromeIcon) {
  const File file = BuildCardIconFile(Picture(), Monochrome({}), "x");
  for (std::size_t o = 0x20; o < 0xA0; ++o) EXPECT_EQ(SaveByte(file, o), 0) << o;
}

TEST(CardIconFileTest, DarkColoursSetTheirPixelsLeftmostInBit7) {
  // Pixel (x, y) has index (x + y) % 16: colour 0 lies at (0,0), (16,0), (15,1), ...
  const File file = BuildCardIconFile(Picture(), Monochrome(std::bitset<16>(1)), "x");
  EXPECT_EQ(SaveByte(file, 0x20), 0x80);          // row 0, pixels 0-7
  EXPECT_EQ(SaveByte(file, 0x20 + 2), 0x80);      // row 0, pixels 16-23
  EXPECT_EQ(SaveByte(file, 0x20 + 4 + 1), 0x01);  // row 1, pixel 15
}

TEST(CardIconFileTest, ADarkColourThatNoPixelUsesChangesNothing) {
  IconImage colour = Picture();
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) colour.SetPixel(x, y, x < 16 ? 2 : 3);
  }
  IconImage mono = colour;
  SetDarkColours(mono, std::bitset<16>(1 << 2));
  const File before = BuildCardIconFile(colour, mono, "x");
  SetDarkColours(mono, std::bitset<16>(1 << 2 | 1 << 9));
  EXPECT_EQ(BuildCardIconFile(colour, mono, "x"), before);
  EXPECT_EQ(SaveByte(before, 0x20), 0xFF);
  EXPECT_EQ(SaveByte(before, 0x22), 0x00);
}

TEST(CardIconFileTest, OnlyExactBlackIsDark) {
  IconImage mono = Picture();
  SetDarkColours(mono, {});
  mono.SetColour(0, Bgr{0, 0, 1});
  const File file = BuildCardIconFile(Picture(), mono, "x");
  EXPECT_EQ(SaveByte(file, 0x20), 0);
}

TEST(CardIconFileTest, SetDarkColoursUsesBlackAndWhite) {
  IconImage mono;
  mono.SetColour(16, Bgr{1, 2, 3});
  SetDarkColours(mono, std::bitset<16>(0b10));
  EXPECT_EQ(mono.Colour(0), (Bgr{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(mono.Colour(1), (Bgr{0, 0, 0}));
  EXPECT_EQ(mono.Colour(16), (Bgr{1, 2, 3}));
}

TEST(CardIconFileTest, WritesAlways1056Bytes) {
  TempDir dir;
  const auto path = dir / "~ico._";
  ASSERT_TRUE(WriteCardIconFile(Picture(), Monochrome({}), "No Name", path));
  const auto expected = BuildCardIconFile(Picture(), Monochrome({}), "No Name");
  EXPECT_EQ(ReadFile(path), std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_FALSE(WriteCardIconFile(Picture(), Monochrome({}), "x", dir / "no" / "~ico._"));
}

}  // namespace
}  // namespace quorvel
