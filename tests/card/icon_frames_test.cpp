// Tests of icon frames read from a card along the save's FAT chain.
#include "card/icon_frames.h"

#include <gtest/gtest.h>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#ifdef QUORVEL_HAVE_QT_GUI
#include <QImage>
#endif

namespace quorvel {
namespace {

using test::CardBuilder;
using test::SlotsEnvironment;

// Pixel (x, y) of frame `frame` in the test icons: distinct per frame, row and column.
std::uint8_t TestPixel(int frame, int x, int y) {
  return static_cast<std::uint8_t>((x + 2 * y + 5 * frame) % 16);
}

// Writes the palette into the header block and frames 0 .. count-1 along `chain` (which
// starts at the header block), as the card format lays them out.
void PaintIcon(CardBuilder& builder, const std::vector<std::uint8_t>& chain, int count) {
  auto& header = builder.Logical(chain[0]);
  for (int i = 0; i < 16; ++i) {
    header[0x60 + 2 * i] = static_cast<std::uint8_t>(i << 4 | (15 - i));  // green i, blue 15-i
    header[0x61 + 2 * i] = static_cast<std::uint8_t>(0xF0 | (i / 2));     // red i/2
  }
  for (int f = 0; f < count; ++f) {
    for (int y = 0; y < 32; ++y) {
      for (int b = 0; b < 16; ++b) {
        const std::uint8_t v =
            static_cast<std::uint8_t>(TestPixel(f, 2 * b, y) << 4 | TestPixel(f, 2 * b + 1, y));
        const int offset = 0x80 + 512 * f + 16 * y + b;
        builder.Logical(chain[offset / 512])[offset % 512] = v;
      }
    }
  }
}

void ExpectFrame(const IconImage& image, int frame) {
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      ASSERT_EQ(image.Pixel(x, y), TestPixel(frame, x, y))
          << "frame " << frame << " at " << x << "," << y;
    }
  }
  EXPECT_EQ(image.Colour(0), (Bgr{0xF0, 0x00, 0x00}));
  EXPECT_EQ(image.Colour(9), (Bgr{0x60, 0x90, 0x40}));
}

class IconFrames : public ::testing::Test {
 protected:
  void Load(const CardBuilder& builder) {
    test::OpenBuilt(card, builder, dir);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  test::TempDir dir;
  CardImage card;
};

TEST_F(IconFrames, DataSaveFramesFollowTheChainFromTheFirstBlock) {
  CardBuilder builder;
  const std::vector<std::uint8_t> chain = {150, 40, 77, 12};  // deliberately not contiguous
  builder.AddSave(0, "DATA________", chain, false, 3);
  PaintIcon(builder, chain, 3);
  Load(builder);
  for (int frame = 0; frame < 3; ++frame) {
    IconImage image;
    ASSERT_TRUE(DecodeIconFrame(card, 0, frame, image));
    ExpectFrame(image, frame);
  }
}

TEST_F(IconFrames, GameSaveHeaderIsTheSecondBlock) {
  CardBuilder builder;
  builder.AddSave(0, "GAME________", {0, 1, 2, 3}, true, 2);
  PaintIcon(builder, {1, 2, 3}, 2);
  builder.Logical(0)[0x60] = 0x77;  // a palette in block 0 must not be used
  Load(builder);
  IconImage image;
  ASSERT_TRUE(DecodeIconFrame(card, 0, 1, image));
  ExpectFrame(image, 1);
  ReadIconPalette(card, 0, image);
  EXPECT_EQ(image.Colour(0), (Bgr{0xF0, 0x00, 0x00}));
}

TEST_F(IconFrames, AllFramesAtOnceReadEachBlockOnce) {
  CardBuilder builder;
  const std::vector<std::uint8_t> chain = {199, 198, 197, 196, 195};
  builder.AddSave(0, "ANIMATED____", chain, false, 4);
  PaintIcon(builder, chain, 4);
  test::ScriptedSlots link;
  link.cards[0] = builder.Bytes();
  CardEnvironment environment = SlotsEnvironment(link);
  CardImage slot(kSourceSlot1, &environment);
  ASSERT_EQ(LoadCard(slot), LoadResult::kLoaded);
  link.reads_per_block.clear();
  const auto frames = DecodeIconFrames(slot, 0);
  ASSERT_EQ(frames.size(), 4u);
  for (int f = 0; f < 4; ++f) ExpectFrame(frames[f], f);
  for (std::uint8_t block : chain) EXPECT_EQ(link.reads_per_block[block], 1) << int(block);
  EXPECT_EQ(link.reads_per_block.size(), chain.size());
}

TEST_F(IconFrames, AChainShorterThanTheIconRepeatsItsLastBlock) {
  CardBuilder builder;
  builder.AddSave(0, "SHORT_______", {100}, false, 2);
  Load(builder);
  IconImage image;
  ASSERT_TRUE(DecodeIconFrame(card, 0, 1, image));
  // Frame 1 reads block 100 again: its rows 0-23 from 0x80, rows 24-31 from 0x000.
  const auto& block = builder.Logical(100);
  EXPECT_EQ(image.Pixel(0, 0), block[0x80] >> 4);
  EXPECT_EQ(image.Pixel(1, 24), block[0x00] & 0x0F);
}

TEST_F(IconFrames, AChainThatCannotBeginStaysOnItsFirstBlock) {
  CardBuilder builder;
  builder.AddSave(0, "WALKED______", {150, 149, 148}, false, 1);
  builder.AddSave(1, "BROKEN______", {100}, false, 2);
  Load(builder);
  card.fat[100] = kFatFree;  // damaged: the save's first block reads as free
  IconImage image;
  ASSERT_TRUE(DecodeIconFrame(card, 0, 0, image));  // leaves the cursor at block 148
  ASSERT_TRUE(DecodeIconFrame(card, 1, 1, image));
  const auto& block = builder.Logical(100);
  EXPECT_EQ(image.Pixel(0, 0), block[0x80] >> 4);
  EXPECT_EQ(image.Pixel(1, 24), block[0x00] & 0x0F);
}

TEST_F(IconFrames, NoFileForAMissingFrame) {
  CardBuilder builder;
  builder.AddSave(0, "TWO_FRAMES__", {150, 149, 148}, false, 2);
  builder.AddSave(1, "NO_ICON_____", {140}, false, 0);
  builder.AddSave(2, "ICONDATA_VMS", {130, 129}, false, 1);
  Load(builder);
  const auto path = dir / "icon.bmp";
  EXPECT_FALSE(ExportIconFrame(card, 0, 2, path));
  EXPECT_FALSE(ExportIconFrame(card, 1, 0, path));
  EXPECT_FALSE(ExportIconFrame(card, 2, 0, path));  // the card icon save lists no icon
  EXPECT_FALSE(ExportIconFrame(card, 3, 0, path));  // an empty directory slot
  EXPECT_FALSE(ExportIconFrame(card, 500, 0, path));
  EXPECT_FALSE(std::filesystem::exists(path));
  card.records[0].size = 0;
  EXPECT_FALSE(ExportIconFrame(card, 0, 0, path));
  EXPECT_TRUE(DecodeIconFrames(card, 1).empty());
}

TEST_F(IconFrames, ExportWritesTheFrameAsOurBmp) {
  CardBuilder builder;
  const std::vector<std::uint8_t> chain = {199, 198, 197};
  builder.AddSave(0, "EXPORTED____", chain, false, 2);
  PaintIcon(builder, chain, 2);
  Load(builder);
  const auto path = dir / "icon.bmp";
  ASSERT_TRUE(ExportIconFrame(card, 0, 1, path));
  const auto bytes = test::ReadFile(path);
  ASSERT_EQ(bytes.size(), 2102u);
  EXPECT_EQ(bytes[2070 + 3], TestPixel(1, 3, 0));  // top row stored last
  EXPECT_EQ(bytes[1078 + 3], TestPixel(1, 3, 31));
#ifdef QUORVEL_HAVE_QT_GUI
  QImage read(QString::fromStdString(path.string()));
  ASSERT_EQ(read.format(), QImage::Format_Indexed8);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(read.pixelIndex(x, y), TestPixel(1, x, y));
  }
  EXPECT_EQ(read.color(9), qRgb(0x40, 0x90, 0x60));
#endif
}

TEST_F(IconFrames, AFailedReadGivesNoPicture) {
  CardBuilder builder;
  builder.AddSave(0, "ANIMATED____", {199, 198, 197}, false, 2);
  test::ScriptedSlots link;
  link.cards[0] = builder.Bytes();
  CardEnvironment environment = SlotsEnvironment(link);
  CardImage slot(kSourceSlot1, &environment);
  ASSERT_EQ(LoadCard(slot), LoadResult::kLoaded);
  link.fail_next_reads = 1000;
  IconImage image;
  image.SetPixel(0, 0, 9);
  EXPECT_FALSE(DecodeIconFrame(slot, 0, 1, image));
  EXPECT_EQ(image.Pixel(0, 0), 9);
  EXPECT_FALSE(ExportIconFrame(slot, 0, 0, dir / "icon.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "icon.bmp"));
}

}  // namespace
}  // namespace quorvel
