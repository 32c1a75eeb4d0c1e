// Tests of the icon BMP writer and reader, with Qt's image reader as the independent judge.
#include "card/bmp_file.h"

#include <gtest/gtest.h>

#include <random>

#include "card/card_fixture.h"
#include "card/icon_test_util.h"
#ifdef QUORVEL_HAVE_QT_GUI
#include <QImage>
#endif

namespace quorvel {
namespace {

using test::PutFile;
using test::ReadFile;
using test::TempDir;

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}

void PutLe(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A picture with a distinct colour per index and a pattern that tells rows and columns apart.
IconImage Sample() {
  IconImage image;
  for (std::size_t i = 0; i < 16; ++i) {
    image.SetColour(
        i, Bgr{static_cast<std::uint8_t>(i << 4), static_cast<std::uint8_t>(0xF0 - (i << 4)),
               static_cast<std::uint8_t>((i * 3 % 16) << 4)});
  }
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) image.SetPixel(x, y, static_cast<std::uint8_t>((x + 3 * y) % 16));
  }
  return image;
}

TEST(BmpWriteTest, HeadersAreTheProgramsOwn) {
  const auto file = EncodeIconBmp(Sample());
  const std::vector<std::uint8_t> b(file.begin(), file.end());
  ASSERT_EQ(b.size(), 2102u);
  EXPECT_EQ(b[0], 0x42);
  EXPECT_EQ(b[1], 0x4D);
  EXPECT_EQ(Le(b, 2, 4), 2102u);
  EXPECT_EQ(Le(b, 6, 4), 0u);
  EXPECT_EQ(Le(b, 10, 4), 1078u);
  EXPECT_EQ(Le(b, 14, 4), 40u);
  EXPECT_EQ(Le(b, 18, 4), 32u);
  EXPECT_EQ(Le(b, 22, 4), 32u);
  EXPECT_EQ(Le(b, 26, 2), 1u);
  EXPECT_EQ(Le(b, 28, 2), 8u);
  EXPECT_EQ(Le(b, 30, 4), 0u);
  EXPECT_EQ(Le(b, 34, 4), 1024u);
  for (std::size_t at = 38; at < 54; ++at) EXPECT_EQ(b[at], 0) << at;
}

TEST(BmpWriteTest, ColourTableAndRowsAreWhereReadersLookForThem) {
  IconImage image = Sample();
  image.SetColour(200, Bgr{1, 2, 3});
  const auto b = EncodeIconBmp(image);
  // Entry i at 54 + 4i: blue, green, red, 0.
  EXPECT_EQ(b[54 + 4 * 5], 5 << 4);
  EXPECT_EQ(b[55 + 4 * 5], 0xF0 - (5 << 4));
  EXPECT_EQ(b[57 + 4 * 5], 0);
  EXPECT_EQ(b[54 + 4 * 200], 1);
  EXPECT_EQ(b[56 + 4 * 200], 3);
  // The top row is the last one stored, the bottom row the first.
  EXPECT_EQ(b[2070 + 7], image.Pixel(7, 0));
  EXPECT_EQ(b[1078 + 7], image.Pixel(7, 31));
}

TEST(BmpWriteTest, WritesTheFileAndReplacesAnOldOne) {
  TempDir dir;
  const auto path = dir / "icon.bmp";
  PutFile(path, std::vector<std::uint8_t>(5000, 0xEE));
  ASSERT_TRUE(WriteIconBmp(Sample(), path));
  const auto written = ReadFile(path);
  const auto expected = EncodeIconBmp(Sample());
  EXPECT_EQ(written, std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_FALSE(WriteIconBmp(Sample(), dir / "missing-folder" / "icon.bmp"));
}

#ifdef QUORVEL_HAVE_QT_GUI
TEST(BmpWriteTest, QtReadsThePixelsAndColoursWeWrote) {
  TempDir dir;
  const IconImage image = Sample();
  ASSERT_TRUE(WriteIconBmp(image, dir / "icon.bmp"));
  QImage read(QString::fromStdString((dir / "icon.bmp").string()));
  ASSERT_FALSE(read.isNull());
  ASSERT_EQ(read.width(), 32);
  ASSERT_EQ(read.height(), 32);
  ASSERT_EQ(read.format(), QImage::Format_Indexed8);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      ASSERT_EQ(read.pixelIndex(x, y), image.Pixel(x, y)) << x << "," << y;
      const Bgr colour = image.Colour(image.Pixel(x, y));
      ASSERT_EQ(read.pixel(x, y), qRgb(colour.red, colour.green, colour.blue));
    }
  }
}

// An 8-bit picture as Qt writes it: a colour table of only the colours it has (20 here; with
// 16 or fewer Qt writes 4 bits per pixel), so the pixel data does not start at 1078.
TEST(BmpReadTest, ReadsAQtPictureByItsOwnOffsets) {
  TempDir dir;
  QImage picture(32, 32, QImage::Format_Indexed8);
  QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
  colours.resize(20, qRgb(1, 1, 1));
  picture.setColorTable(colours);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) picture.setPixel(x, y, static_cast<uint>((x / 8 + y) % 4));
  }
  const auto path = dir / "qt.bmp";
  ASSERT_TRUE(picture.save(QString::fromStdString(path.string()), "BMP"));
  ASSERT_NE(Le(ReadFile(path), 10, 4), 1078u);
  IconImage image;
  ASSERT_EQ(ReadIconBmp(image, path), BmpReadResult::kOk);
  EXPECT_EQ(image.Colour(0), (Bgr{0, 0, 255}));
  EXPECT_EQ(image.Colour(3), (Bgr{30, 20, 10}));
  EXPECT_EQ(image.Colour(19), (Bgr{1, 1, 1}));
  EXPECT_EQ(image.Colour(20), (Bgr{0, 0, 0}));
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(image.Pixel(x, y), (x / 8 + y) % 4) << x << "," << y;
  }
}

TEST(BmpReadTest, RefusesA24BitAFourBitAndASmallPicture) {
  TempDir dir;
  QImage rgb(32, 32, QImage::Format_RGB888);
  rgb.fill(Qt::red);
  ASSERT_TRUE(rgb.save(QString::fromStdString((dir / "rgb.bmp").string()), "BMP"));
  QImage four_bit(32, 32, QImage::Format_Indexed8);  // 2 colours: Qt stores 4 bits a pixel
  four_bit.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  four_bit.fill(1);
  ASSERT_TRUE(four_bit.save(QString::fromStdString((dir / "four.bmp").string()), "BMP"));
  QImage small(16, 16, QImage::Format_Indexed8);
  QList<QRgb> colours(256, qRgb(9, 9, 9));
  small.setColorTable(colours);
  small.fill(3);
  ASSERT_TRUE(small.save(QString::fromStdString((dir / "small.bmp").string()), "BMP"));
  IconImage image;
  EXPECT_EQ(ReadIconBmp(image, dir / "rgb.bmp"), BmpReadResult::kNotIconBmp);
  EXPECT_EQ(ReadIconBmp(image, dir / "four.bmp"), BmpReadResult::kNotIconBmp);
  EXPECT_EQ(ReadIconBmp(image, dir / "small.bmp"), BmpReadResult::kNotIconBmp);
}
#endif

TEST(BmpReadTest, ReadsBackWhatWeWrite) {
  TempDir dir;
  IconImage image = Sample();
  image.SetColour(255, Bgr{7, 8, 9});
  image.SetPixel(3, 3, 17);  // indices above 15 are kept as they are
  ASSERT_TRUE(WriteIconBmp(image, dir / "icon.bmp"));
  IconImage read;
  ASSERT_EQ(ReadIconBmp(read, dir / "icon.bmp"), BmpReadResult::kOk);
  EXPECT_EQ(read.bytes, image.bytes);
}

TEST(BmpReadTest, AcceptsAZeroImageSizeAndTopDownRows) {
  const IconImage image = Sample();
  const auto encoded = EncodeIconBmp(image);
  std::vector<std::uint8_t> file(encoded.begin(), encoded.end());
  PutLe(file, 34, 0, 4);
  IconImage read;
  ASSERT_EQ(DecodeIconBmp(file, read), BmpReadResult::kOk);
  EXPECT_EQ(read.bytes, image.bytes);

  // The same picture stored top row first.
  PutLe(file, 22, static_cast<std::uint32_t>(-32), 4);
  for (int row = 0; row < 32; ++row) {
    std::copy_n(encoded.begin() + 1078 + (31 - row) * 32, 32, file.begin() + 1078 + row * 32);
  }
  IconImage top_down;
  ASSERT_EQ(DecodeIconBmp(file, top_down), BmpReadResult::kOk);
  EXPECT_EQ(top_down.bytes, image.bytes);
}

TEST(BmpReadTest, ReadsAnOs2HeaderWithThreeByteColours) {
  std::vector<std::uint8_t> file(14 + 12 + 3 * 256 + 1024);
  file[0] = 'B';
  file[1] = 'M';
  PutLe(file, 10, 14 + 12 + 3 * 256, 4);
  PutLe(file, 14, 12, 4);
  PutLe(file, 18, 32, 2);
  PutLe(file, 20, 32, 2);
  PutLe(file, 22, 1, 2);
  PutLe(file, 24, 8, 2);
  file[26 + 3 * 2] = 0x11;  // colour 2: blue 0x11, green 0x22, red 0x33
  file[27 + 3 * 2] = 0x22;
  file[28 + 3 * 2] = 0x33;
  file[file.size() - 1] = 2;  // top right pixel
  IconImage read;
  ASSERT_EQ(DecodeIconBmp(file, read), BmpReadResult::kOk);
  EXPECT_EQ(read.Colour(2), (Bgr{0x11, 0x22, 0x33}));
  EXPECT_EQ(read.Pixel(31, 0), 2);
}

TEST(BmpReadTest, DecodesRle8Runs) {
  std::vector<std::uint8_t> file(1078, 0);
  file[0] = 'B';
  file[1] = 'M';
  PutLe(file, 10, 1078, 4);
  PutLe(file, 14, 40, 4);
  PutLe(file, 18, 32, 4);
  PutLe(file, 22, 32, 4);
  PutLe(file, 26, 1, 2);
  PutLe(file, 28, 8, 2);
  PutLe(file, 30, 1, 4);
  const std::vector<std::uint8_t> runs = {32, 5,               // bottom row: 32 pixels of 5
                                          0,  0,               // end of line
                                          0,  3, 7, 8,  9, 0,  // three literal pixels, padded
                                          0,  2, 4, 30,        // move 4 right, 30 up: the top row
                                          2,  6,               // two pixels of 6 at x 7 and 8
                                          0,  1};              // end of picture
  file.insert(file.end(), runs.begin(), runs.end());
  IconImage read;
  ASSERT_EQ(DecodeIconBmp(file, read), BmpReadResult::kOk);
  EXPECT_EQ(read.Pixel(0, 31), 5);
  EXPECT_EQ(read.Pixel(31, 31), 5);
  EXPECT_EQ(read.Pixel(0, 30), 7);
  EXPECT_EQ(read.Pixel(2, 30), 9);
  EXPECT_EQ(read.Pixel(3, 30), 0);
  EXPECT_EQ(read.Pixel(7, 0), 6);
  EXPECT_EQ(read.Pixel(8, 0), 6);
  EXPECT_EQ(read.Pixel(9, 0), 0);

  // A run past the end of a row is damage, not a picture.
  std::vector<std::uint8_t> damaged(file.begin(), file.begin() + 1078);
  damaged.insert(damaged.end(), {33, 1, 0, 1});
  EXPECT_EQ(DecodeIconBmp(damaged, read), BmpReadResult::kNotIconBmp);
}

TEST(BmpReadTest, RefusesWhatIsNotA32By32EightBitPictureAndKeepsTheImage) {
  const auto encoded = EncodeIconBmp(Sample());
  const std::vector<std::uint8_t> good(encoded.begin(), encoded.end());
  auto with = [&](std::size_t at, std::uint32_t value, int size) {
    auto file = good;
    PutLe(file, at, value, size);
    return file;
  };
  const std::vector<std::vector<std::uint8_t>> refused = {
      with(0, 'X', 1),  // signature
      with(1, 'X', 1),
      with(18, 16, 4),    // 16 wide
      with(22, 16, 4),    // 16 high
      with(26, 2, 2),     // planes
      with(28, 4, 2),     // 4 bits per pixel
      with(28, 24, 2),    // 24 bits per pixel
      with(30, 3, 4),     // bit fields
      with(10, 1079, 4),  // pixels run past the end of the file
      with(14, 20, 4),    // unknown header size
      std::vector<std::uint8_t>(good.begin(), good.begin() + 2101),  // cut short
      std::vector<std::uint8_t>(good.begin(), good.begin() + 20),
      {}};
  IconImage image = Sample();
  for (std::size_t i = 0; i < refused.size(); ++i) {
    EXPECT_EQ(DecodeIconBmp(refused[i], image), BmpReadResult::kNotIconBmp) << i;
  }
  EXPECT_EQ(image.bytes, Sample().bytes);
}

// Damaged pictures (random bytes changed in the headers and runs) are read or refused, never
// read past their end; run under the sanitizers this catches any out-of-bounds access.
TEST(BmpReadTest, DamagedPicturesNeverReadPastTheirEnd) {
  const auto encoded = EncodeIconBmp(Sample());
  std::vector<std::uint8_t> rle(encoded.begin(), encoded.begin() + 1078);
  PutLe(rle, 30, 1, 4);
  for (int row = 0; row < 32; ++row) rle.insert(rle.end(), {16, 1, 0, 3, 9, 8, 7, 0, 0, 0});
  rle.insert(rle.end(), {0, 1});
  IconImage decoded;
  ASSERT_EQ(DecodeIconBmp(rle, decoded), BmpReadResult::kOk);
  EXPECT_EQ(decoded.Pixel(18, 0), 7);
  std::mt19937 random(7);
  for (const std::vector<std::uint8_t>& original :
       {std::vector<std::uint8_t>(encoded.begin(), encoded.end()), rle}) {
    for (int round = 0; round < 3000; ++round) {
      std::vector<std::uint8_t> file = original;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int c = 0; c < changes; ++c) {
        const std::size_t at = random() % 2 ? random() % 54 : random() % file.size();
        file[at] = static_cast<std::uint8_t>(random());
      }
      file.resize(file.size() - random() % 3 * (random() % file.size()) / 2);
      IconImage image;
      const BmpReadResult result = DecodeIconBmp(file, image);
      ASSERT_TRUE(result == BmpReadResult::kOk || result == BmpReadResult::kNotIconBmp);
    }
  }
}

TEST(BmpReadTest, AMissingFileCannotBeRead) {
  TempDir dir;
  IconImage image;
  EXPECT_EQ(ReadIconBmp(image, dir / "none.bmp"), BmpReadResult::kCannotRead);
  EXPECT_EQ(ReadIconBmp(image, (dir / "")), BmpReadResult::kCannotRead);
}

}  // namespace
}  // namespace quorvel
