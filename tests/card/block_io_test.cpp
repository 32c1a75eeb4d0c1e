// Block I/O: retries and messages over the link, the image file, the group reversal.
#include "card/block_io.h"

#include <gtest/gtest.h>

#include <fstream>
#include <numeric>

#include "card/card_fixture.h"

namespace quorvel {
namespace {

using test::CardBuilder;
using test::TempDir;

class SlotBlockIo : public test::ScriptedSlotTest {
 protected:
  SlotBlockIo() {
    slots.cards[0] = CardBuilder().Bytes();
    slots.cards[1] = CardBuilder().Bytes();
  }
  Block buffer{};
};

TEST_F(SlotBlockIo, ReadSucceedsOnTheSixteenthAttemptWithoutMessage) {
  slots.fail_next_reads = 15;
  slots.cards[1][255 * 512] = 0xAB;
  EXPECT_TRUE(ReadBlock(slot2, 255, buffer));
  EXPECT_EQ(buffer[0], 0xAB);
  EXPECT_EQ(slots.read_calls, 16);
  EXPECT_TRUE(messages.informed.empty());
  EXPECT_EQ(link_gave_up, 0);
  EXPECT_FALSE(slot2.link_failed);
}

TEST_F(SlotBlockIo, ReadGivesUpAfterSixteenFailuresWithMessage) {
  slots.fail_next_reads = 16;
  EXPECT_FALSE(ReadBlock(slot1, 3, buffer));
  EXPECT_EQ(slots.read_calls, 16);
  ASSERT_EQ(messages.informed.size(), 1u);
  EXPECT_EQ(messages.informed[0],
            "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..). ");
  EXPECT_EQ(link_gave_up, 1);
  EXPECT_TRUE(slot1.link_failed);
}

TEST_F(SlotBlockIo, WriteGivesUpAfterFiveAttempts) {
  slots.fail_next_writes = 5;
  buffer.fill(0x11);
  EXPECT_FALSE(WriteBlock(slot1, 7, buffer));
  EXPECT_EQ(slots.write_calls, 5);
  ASSERT_EQ(messages.informed.size(), 1u);
  EXPECT_EQ(messages.informed[0],
            "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..).  ");
  EXPECT_EQ(link_gave_up, 1);
  EXPECT_NE(slots.cards[0][7 * 512], 0x11);

  slots.fail_next_writes = 4;
  EXPECT_TRUE(WriteBlock(slot1, 7, buffer));
  EXPECT_EQ(slots.write_calls, 10);
  EXPECT_EQ(slots.cards[0][7 * 512], 0x11);
}

TEST_F(SlotBlockIo, SlotNumberFollowsTheSource) {
  buffer.fill(0x22);
  ASSERT_TRUE(WriteBlock(slot2, 0, buffer));
  EXPECT_EQ(slots.cards[1][0], 0x22);
  EXPECT_NE(slots.cards[0][0], 0x22);
}

TEST_F(SlotBlockIo, CacheServesRepeatedReadsAndWritesGoThrough) {
  {
    CacheScope scope(slot1);
    ASSERT_TRUE(ReadBlock(slot1, 9, buffer));
    ASSERT_TRUE(ReadBlock(slot1, 9, buffer));
    EXPECT_EQ(slots.read_calls, 1);
    buffer.fill(0x5A);
    ASSERT_TRUE(WriteBlock(slot1, 9, buffer));
    EXPECT_EQ(slots.cards[0][9 * 512], 0x5A);
    Block again{};
    ASSERT_TRUE(ReadBlock(slot1, 9, again));
    EXPECT_EQ(again, buffer);
    EXPECT_EQ(slots.read_calls, 1);
    // A failed write leaves the block unknown: the next read goes to the card.
    slots.fail_next_writes = 5;
    Block other{};
    EXPECT_FALSE(WriteBlock(slot1, 9, other));
    ASSERT_TRUE(ReadBlock(slot1, 9, again));
    EXPECT_EQ(slots.read_calls, 2);
  }
  ASSERT_TRUE(ReadBlock(slot1, 9, buffer));
  EXPECT_EQ(slots.read_calls, 3);  // outside a scope nothing is cached
}

TEST(ImageBlockIo, BlockOffsetsAndShortReads) {
  TempDir dir;
  std::vector<std::uint8_t> bytes(kImageFileSize);
  std::iota(bytes.begin(), bytes.end(), 0);
  for (std::size_t i = 0; i < bytes.size(); i += 512) bytes[i] = static_cast<std::uint8_t>(i / 512);
  std::ofstream(dir / "a.dcm", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), 130560 + 100);

  CardImage card;
  ASSERT_TRUE(OpenImageFile(card, (dir / "a.dcm").string()));
  Block buffer;
  buffer.fill(0xEE);
  ASSERT_TRUE(ReadBlock(card, 254, buffer));
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), bytes.begin() + 254 * 512));
  // Block 255 is cut short: what the file lacks is not an error and stays as it was.
  buffer.fill(0xEE);
  EXPECT_TRUE(ReadBlock(card, 255, buffer));
  EXPECT_EQ(buffer[0], 255);
  EXPECT_EQ(buffer[99], bytes[130560 + 99]);
  EXPECT_EQ(buffer[100], 0xEE);

  buffer.fill(0x77);
  ASSERT_TRUE(WriteBlock(card, 255, buffer));
  CloseImageFile(card);
  EXPECT_FALSE(card.ImageOpen());
  std::vector<std::uint8_t> written = test::ReadFile(dir / "a.dcm");
  ASSERT_EQ(written.size(), kImageFileSize);
  EXPECT_EQ(written[130560], 0x77);
  EXPECT_EQ(written[131071], 0x77);
  EXPECT_FALSE(ReadBlock(card, 0, buffer));  // a closed image reads nothing
}

TEST(ImageBlockIo, OpeningAMissingFileCreatesAnErasedCard) {
  TempDir dir;
  CardImage card;
  ASSERT_TRUE(OpenImageFile(card, (dir / "new.dcm").string()));
  EXPECT_TRUE(card.ImageOpen());
  EXPECT_EQ(card.ImageName(), (dir / "new.dcm").string());
  Block buffer{};
  buffer.fill(1);
  ASSERT_TRUE(WriteBlock(card, 0, buffer));  // kept open for writing
  CloseImageFile(card);
  std::vector<std::uint8_t> bytes = test::ReadFile(dir / "new.dcm");
  ASSERT_EQ(bytes.size(), 131072u);
  EXPECT_EQ(std::count(bytes.begin() + 512, bytes.end(), 0xFF), 131072 - 512);
  EXPECT_FALSE(OpenImageFile(card, (dir / "no-such-dir" / "x.dcm").string()));
  EXPECT_FALSE(card.ImageOpen());
}

TEST(ImageBlockIo, ADanglingLinkAtAMissingImageIsReplacedNotFollowed) {
  TempDir dir;
  std::filesystem::create_symlink(dir / "elsewhere.dcm", dir / "new.dcm");
  CardImage card;
  ASSERT_TRUE(OpenImageFile(card, (dir / "new.dcm").string()));
  CloseImageFile(card);
  EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere.dcm"));
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "new.dcm"));
  EXPECT_EQ(test::ReadFile(dir / "new.dcm").size(), 131072u);
}

TEST(ReverseGroups, ReversesEachGroupAndIsItsOwnInverse) {
  Block block;
  std::iota(block.begin(), block.end(), 1);
  const Block original = block;
  ReverseGroups(block);
  EXPECT_EQ((std::vector<int>{block[0], block[1], block[2], block[3]}),
            (std::vector<int>{4, 3, 2, 1}));
  EXPECT_EQ(block[508], original[511]);
  // Every group of the block, not only the ends: byte i holds what stood at i with its two
  // low bits turned round.
  for (std::size_t i = 0; i < block.size(); ++i) {
    ASSERT_EQ(block[i], original[i ^ 3]) << "byte " << i;
  }
  ReverseGroups(block);
  EXPECT_EQ(block, original);
}

}  // namespace
}  // namespace quorvel
