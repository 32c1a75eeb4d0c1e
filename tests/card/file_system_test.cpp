// The card file system: loading root, FAT and directory, and the records built from it.
#include "card/file_system.h"

#include <gtest/gtest.h>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/card_fixture.h"

namespace quorvel {
namespace {

using test::CardBuilder;

class FileSystem : public ::testing::Test {
 protected:
  LoadResult Load(const CardBuilder& builder) {
    test::OpenBuilt(card, builder, dir);
    return LoadCard(card);
  }
  test::TempDir dir;
  CardImage card;
};

TEST_F(FileSystem, FreshlyFormattedCardListsNothing) {
  ASSERT_EQ(Load(CardBuilder(200)), LoadResult::kLoaded);
  EXPECT_EQ(card.listed_count, 0);
  EXPECT_EQ(card.free_blocks, 200);
  EXPECT_EQ(UserBlockCount(card), 200);
  EXPECT_EQ(card.list_order[0], 0xFF);
  EXPECT_TRUE(CheckCard(card).empty());
}

TEST_F(FileSystem, SavesOfThreeTenAndOneHundredTwentyEightBlocksLeaveFiftyNine) {
  CardBuilder builder(200);
  std::vector<std::uint8_t> big, mid, small;
  for (int b = 0; b < 128; ++b) big.push_back(static_cast<std::uint8_t>(199 - b));
  for (int b = 0; b < 10; ++b) mid.push_back(static_cast<std::uint8_t>(71 - b));
  for (int b = 0; b < 3; ++b) small.push_back(static_cast<std::uint8_t>(61 - b));
  builder.AddSave(0, "SMALL_______", small);
  builder.AddSave(5, "MIDDLE______", mid);
  builder.AddSave(17, "BIG_________", big);
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_EQ(card.listed_count, 3);
  EXPECT_EQ(card.list_order[0], 0);
  EXPECT_EQ(card.list_order[1], 5);
  EXPECT_EQ(card.list_order[2], 17);
  EXPECT_EQ(card.list_order[3], 0xFF);
  EXPECT_EQ(card.free_blocks, 59);
  EXPECT_EQ(card.records[17].size, 128);
  EXPECT_EQ(card.records[17].first_block, 199);
  EXPECT_TRUE(CheckCard(card).empty());
}

TEST_F(FileSystem, RecordFieldsFromEntryAndHeader) {
  CardBuilder builder;
  builder.AddSave(3, "SONICADV_INT", {150, 149}, false, 2, "Sonic\x01\x7F\x1F story");
  const std::uint8_t stamp[] = {0x19, 0x99, 0x12, 0x31, 0x23, 0x59, 0x58, 0x05};
  std::copy(stamp, stamp + 8, builder.Entry(3) + 0x10);
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  const SaveRecord& save = card.records[3];
  EXPECT_EQ(save.name, "SONICADV_INT");
  EXPECT_EQ(save.date, "1999/12/31");
  EXPECT_EQ(save.time, "23:59:58");
  EXPECT_EQ(save.first_block, 150);
  EXPECT_EQ(save.size, 2);
  EXPECT_EQ(save.icon_count, 2);
  EXPECT_FALSE(save.header_in_second_block);
  ASSERT_EQ(save.description.size(), 48u);
  EXPECT_EQ(save.description.substr(0, 14), "Sonic  \x1F story");
  EXPECT_EQ(save.entry[0x04], 'S');
  EXPECT_EQ(save.entry[0x18], 2);
}

TEST_F(FileSystem, DatesAreUpperCaseHex) {
  CardBuilder builder;
  builder.AddSave(0, "X", {10});
  const std::uint8_t stamp[] = {0x20, 0x0A, 0xBC, 0x0D, 0xEF, 0x00, 0x9F};
  std::copy(stamp, stamp + 7, builder.Entry(0) + 0x10);
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_EQ(card.records[0].date, "200A/BC/0D");
  EXPECT_EQ(card.records[0].time, "EF:00:9F");
  EXPECT_EQ(card.records[0].name, std::string("X") + std::string(11, '\0'));
}

TEST_F(FileSystem, DataSaveAtBlockZeroIsAnEmptySlot) {
  CardBuilder builder;
  builder.AddSave(0, "ZERO", {0});
  builder.AddSave(1, "ONE", {1});
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_EQ(card.records[0].size, 0);
  EXPECT_TRUE(card.records[0].name.empty());
  EXPECT_EQ(card.records[0].entry[4], 'Z');  // kept for the directory writer
  EXPECT_EQ(card.listed_count, 1);
  EXPECT_EQ(card.list_order[0], 1);
}

TEST_F(FileSystem, GameHeaderIsFoundThroughFatEntryZero) {
  CardBuilder builder;
  builder.AddSave(2, "MINIGAME____", {0, 7, 8}, true, 3, "GAME HEADER");
  // The header lies in the block FAT[0] names, wherever that is.
  builder.Logical(7)[0x40] = 3;
  builder.Entry(2)[0x02] = 0;
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_TRUE(card.records[2].header_in_second_block);
  EXPECT_EQ(card.records[2].icon_count, 3);
  EXPECT_EQ(card.records[2].description.substr(0, 11), "GAME HEADER");
  EXPECT_TRUE(CheckCard(card).empty());
}

TEST_F(FileSystem, TypeCcWithNonZeroByteThreeIsData) {
  CardBuilder builder;
  builder.AddSave(0, "ODD", {0, 9}, true, 1, "SECOND");
  builder.Entry(0)[0x03] = 1;
  std::fill_n(builder.Logical(0).begin(), 0x30, 'A');
  builder.Logical(0)[0x40] = 0;
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_FALSE(card.records[0].header_in_second_block);
  EXPECT_EQ(card.records[0].description, std::string(48, 'A'));  // header from the first block
}

TEST_F(FileSystem, IconCountPlausibilityRules) {
  CardBuilder builder;
  builder.AddSave(0, "ICONDATA_VMS", {199}, false, 5, "IGNORED");
  builder.AddSave(1, "UNKNOWN", {198}, false, 64);
  builder.AddSave(2, "MANYICONS", {197}, false, 64);
  builder.Logical(197)[0x41] = 0xFF;
  builder.AddSave(3, "SIXTYTHREE", {196}, false, 63);
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_EQ(card.records[0].description, "VMU CAPTION LOGO");
  EXPECT_EQ(card.records[0].icon_count, 0);
  EXPECT_EQ(card.records[1].description, "UNKNOWN FILE SAVER");
  EXPECT_EQ(card.records[1].icon_count, 0);
  EXPECT_EQ(card.records[2].icon_count, 64);
  EXPECT_EQ(card.records[3].icon_count, 63);
}

TEST_F(FileSystem, UnformattedCardIsReportedAndFormattable) {
  CardBuilder builder;
  builder.AddSave(0, "GONE", {150});
  builder.SetFat(0, 0xFFFF);
  ASSERT_EQ(Load(builder), LoadResult::kUnformatted);
  EXPECT_EQ(card.listed_count, 0);
  EXPECT_EQ(card.records[0].size, 0);
  EXPECT_FALSE(CheckCard(card).empty());
}

TEST_F(FileSystem, BrokenSystemChainIsRebuiltInMemory) {
  CardBuilder builder;
  builder.AddSave(20, "SLOT20", {100});  // in the second directory block
  builder.SetFat(254, 0xFFFC);
  builder.SetFat(252, 0xFFFA);  // directory cut after two blocks
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  EXPECT_TRUE(card.system_chain_repaired);
  EXPECT_EQ(card.fat[254], kFatLast);
  EXPECT_EQ(card.fat[252], 251);
  EXPECT_EQ(card.fat[241], kFatLast);
  EXPECT_EQ(card.records[20].size, 1);
  std::vector<std::string> problems = CheckCard(card);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("rebuilt"), std::string::npos);
}

TEST_F(FileSystem, EveryLoadStartsFromAClearedModel) {
  CardBuilder full;
  full.AddSave(0, "FIRSTCARD", {199, 198});
  full.AddSave(30, "FIRSTCARD2", {150});
  ASSERT_EQ(Load(full), LoadResult::kLoaded);
  ASSERT_EQ(card.listed_count, 2);

  // Cards whose directory reaches none or only some of the records, or that are not formatted:
  // no record keeps anything of the card loaded before.
  CardBuilder no_directory;
  no_directory.SetFat(253, 0xFFFC);  // the directory chain cannot begin
  CardBuilder one_directory_block;
  one_directory_block.SetFat(253, 0xFFFA);  // records 16 and on are not read
  CardBuilder unformatted(0);
  const std::pair<const char*, CardBuilder*> cases[] = {
      {"no directory", &no_directory},
      {"one directory block", &one_directory_block},
      {"unformatted", &unformatted}};
  for (const auto& [what, builder] : cases) {
    SCOPED_TRACE(what);
    CloseImageFile(card);
    ASSERT_EQ(Load(full), LoadResult::kLoaded);
    ASSERT_FALSE(card.records[30].name.empty());
    // What the panes set in a record goes too.
    card.records[30].first_image_index = 7;
    card.records[30].current_frame = 3;
    card.records[30].frame_image_indices[1] = 9;
    CloseImageFile(card);
    test::OpenBuilt(card, *builder, dir, "second.dcm");
    LoadCard(card);
    EXPECT_EQ(card.listed_count, 0);
    for (const SaveRecord& record : card.records) {
      EXPECT_EQ(record.size, 0);
      EXPECT_TRUE(record.name.empty() && record.description.empty() && record.date.empty() &&
                  record.time.empty() && record.header_text.empty());
      EXPECT_EQ(
          record.icon_count + record.first_image_index + record.current_frame + record.first_block,
          0);
      EXPECT_EQ(record.frame_image_indices, decltype(record.frame_image_indices){});
      EXPECT_EQ(record.entry, DirEntry{});
      EXPECT_FALSE(record.header_in_second_block);
    }
  }
  EXPECT_EQ(card.free_blocks, 0);  // the unformatted card
}

TEST_F(FileSystem, ASaveWhoseHeaderIsNotReadKeepsNoTextOfTheCardBefore) {
  CardBuilder before;
  before.AddSave(2, "MINIGAME____", {0, 7, 8}, true, 3, "GAME HEADER");
  before.Entry(2)[0x02] = 0;
  ASSERT_EQ(Load(before), LoadResult::kLoaded);
  ASSERT_EQ(card.records[2].description.substr(0, 11), "GAME HEADER");
  ASSERT_FALSE(card.records[2].header_text.empty());

  // The same game, but FAT[0] names no block: its header cannot be read.
  CardBuilder after = before;
  after.SetFat(0, 0x1234);
  CloseImageFile(card);
  test::OpenBuilt(card, after, dir, "second.dcm");
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(card.records[2].size, 3);
  EXPECT_EQ(card.records[2].icon_count, 0);
  EXPECT_TRUE(card.records[2].description.empty());
  EXPECT_TRUE(card.records[2].header_text.empty());
}

TEST_F(FileSystem, LoopingDirectoryChainStopsAfterThirteenBlocks) {
  CardBuilder builder;
  builder.AddSave(0, "LOOP", {100});
  builder.SetFat(253, 253);  // directory block 253 points at itself
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  // The same block is read as each of the 13 directory blocks.
  EXPECT_EQ(card.records[0].size, 1);
  EXPECT_EQ(card.records[16].size, 1);
  EXPECT_EQ(card.records[192].size, 1);
}

TEST_F(FileSystem, ChainWalksFollowTheFatEachWithItsOwnCursor) {
  CardBuilder builder;
  builder.AddSave(0, "CHAIN", {10, 20, 5});
  builder.AddSave(1, "OTHER", {30, 31});
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  std::vector<int> walked = {10};
  std::vector<int> inner_walks;
  ChainCursor cursor;
  ASSERT_TRUE(ChainBegin(card, 10, cursor));
  std::uint8_t block;
  while (ChainNext(card, cursor, block)) {
    walked.push_back(block);
    // A walk of another chain meanwhile does not move this one.
    ChainCursor inner;
    std::uint8_t other = 30;
    ASSERT_TRUE(ChainBegin(card, other, inner));
    while (ChainNext(card, inner, other)) inner_walks.push_back(other);
  }
  EXPECT_EQ(walked, (std::vector<int>{10, 20, 5}));
  EXPECT_EQ(inner_walks, (std::vector<int>{31, 31}));
  EXPECT_FALSE(ChainBegin(card, 11, cursor));  // a free block starts no walk
}

TEST_F(FileSystem, FatAndDirectoryRoundTrip) {
  CardBuilder builder;
  builder.AddSave(0, "KEEP", {199});
  ASSERT_EQ(Load(builder), LoadResult::kLoaded);
  card.fat[50] = 0x1234;
  card.records[1].entry[4] = 'Q';
  WriteFat(card);
  EXPECT_FALSE(card.io_error);
  EXPECT_TRUE(WriteDirectory(card));
  CloseImageFile(card);
  std::vector<std::uint8_t> image = test::ReadFile(dir / "card.dcm");
  std::array<std::uint8_t, 512> fat = test::LogicalBlock(image, 254);
  EXPECT_EQ(fat[100], 0x34);
  EXPECT_EQ(fat[101], 0x12);
  EXPECT_EQ(test::LogicalBlock(image, 253)[32 + 4], 'Q');
  EXPECT_EQ(test::LogicalBlock(image, 253)[4], 'K');
}

TEST_F(FileSystem, RootIsKeptInLogicalOrder) {
  ASSERT_EQ(Load(CardBuilder(241)), LoadResult::kLoaded);
  EXPECT_EQ(card.root[0x50], 241);
  card.root[0x10] = 0x42;
  WriteRoot(card);
  EXPECT_EQ(card.root[0x10], 0x42);
  CloseImageFile(card);
  EXPECT_EQ(test::LogicalBlock(test::ReadFile(dir / "card.dcm"), 255)[0x10], 0x42);
}

}  // namespace
}  // namespace quorvel
