// Save transfer: copy, delete, format, the allocation rules and the working file; the card is
// read back and checked after every write.
#include "card/save_transfer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/save_commands.h"

namespace quorvel {
namespace {

using test::CardBuilder;

class SaveTransfer : public ::testing::Test {
 protected:
  void Open(CardImage& card, const CardBuilder& builder, const std::string& name) {
    test::OpenBuilt(card, builder, dir, name);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  // Reloads `card` from its source and expects a consistent card.
  void ExpectConsistent(CardImage& card) {
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    EXPECT_EQ(CheckCard(card), std::vector<std::string>{});
  }
  std::vector<std::uint8_t> Bytes(const std::string& name) { return test::ReadFile(dir / name); }

  test::TempDir dir;
  CardImage source;
  CardImage target;
};

TEST_F(SaveTransfer, DataSaveGoesToTheTopBlocksAndTheFirstFreeSlot) {
  CardBuilder from;
  from.AddSave(4, "THREEBLOCKS_", {20, 30, 25}, false, 1, "three");
  Open(source, from, "from.dcm");
  Open(target, CardBuilder(200), "to.dcm");
  ASSERT_EQ(CopySave(source, 4, target), TransferError::kNone);

  EXPECT_EQ(target.fat[199], 198);
  EXPECT_EQ(target.fat[198], 197);
  EXPECT_EQ(target.fat[197], kFatLast);
  ExpectConsistent(target);
  EXPECT_EQ(target.records[0].name, "THREEBLOCKS_");
  EXPECT_EQ(target.records[0].first_block, 199);
  EXPECT_EQ(target.records[0].description.substr(0, 5), "three");
  EXPECT_EQ(target.free_blocks, 197);
  // Entry copied except its first block; blocks copied unchanged in chain order.
  for (std::size_t i = 0; i < kDirEntrySize; ++i) {
    if (i != kEntryFirstBlock) {
      EXPECT_EQ(target.records[0].entry[i], source.records[4].entry[i]);
    }
  }
  std::vector<std::uint8_t> to = Bytes("to.dcm");
  EXPECT_EQ(test::LogicalBlock(to, 198), test::SavePattern(4, 1));
  EXPECT_EQ(test::LogicalBlock(to, 197), test::SavePattern(4, 2));
  ExpectConsistent(source);
}

TEST_F(SaveTransfer, CardFormattedWith241BlocksStartsDataAtBlock240) {
  CardBuilder from;
  from.AddSave(0, "ONE", {3});
  Open(source, from, "from.dcm");
  Open(target, CardBuilder(241), "to.dcm");
  ASSERT_EQ(CopySave(source, 0, target), TransferError::kNone);
  ExpectConsistent(target);
  EXPECT_EQ(target.records[0].first_block, 240);
}

TEST_F(SaveTransfer, GameGoesToBlockZeroUpwards) {
  CardBuilder from;
  from.AddSave(1, "GAME", {0, 1, 2}, true, 2, "A GAME");
  Open(source, from, "from.dcm");
  CardBuilder to;
  to.AddSave(0, "DATA", {199});
  Open(target, to, "to.dcm");
  ASSERT_EQ(CopySave(source, 1, target), TransferError::kNone);
  ExpectConsistent(target);
  EXPECT_EQ(target.records[1].first_block, 0);
  EXPECT_TRUE(target.records[1].header_in_second_block);
  EXPECT_EQ(target.records[1].description.substr(0, 6), "A GAME");
  EXPECT_EQ(target.fat[0], 1);
  EXPECT_EQ(target.fat[2], kFatLast);
}

TEST_F(SaveTransfer, GameCannotStartWhereBlockZeroIsTaken) {
  CardBuilder from;
  from.AddSave(0, "GAME", {0, 1}, true);
  Open(source, from, "from.dcm");
  CardBuilder to;
  to.AddSave(0, "LOW", {1});
  Open(target, to, "to.dcm");
  const std::vector<std::uint8_t> before = Bytes("to.dcm");
  const auto fat = target.fat;
  EXPECT_EQ(CopySave(source, 0, target), TransferError::kGameBlocksInUse);
  EXPECT_EQ(Bytes("to.dcm"), before);
  EXPECT_EQ(target.fat, fat);
}

TEST_F(SaveTransfer, SizeAboveTheFreeCountIsRefusedEvenWithRoomInTheFat) {
  CardBuilder from;
  from.AddSave(0, "BIG", {10, 11, 12, 13, 14});
  Open(source, from, "from.dcm");
  Open(target, CardBuilder(200), "to.dcm");
  target.free_blocks = 4;  // as the last refresh counted it
  EXPECT_EQ(CopySave(source, 0, target), TransferError::kNoSpace);
  EXPECT_EQ(FindFreeDirectorySlot(target), 0u);
  EXPECT_EQ(target.fat[199], kFatFree);
}

TEST_F(SaveTransfer, StaleFreeCountCannotOverAllocate) {
  // Two copies without a refresh between them: the free count still says 200, but the FAT
  // has only 4 blocks left after the first copy.
  CardBuilder from;
  std::vector<std::uint8_t> first, second;
  for (int b = 10; b < 160; ++b) first.push_back(static_cast<std::uint8_t>(b));
  for (int b = 160; b < 210; ++b) second.push_back(static_cast<std::uint8_t>(b % 200));
  from.AddSave(0, "FIRST", first);
  from.AddSave(1, "SECOND", second);
  Open(source, from, "from.dcm");
  CardBuilder to;
  to.AddSave(0, "HOLDS46", std::vector<std::uint8_t>(46, 0));
  for (int b = 0; b < 46; ++b) to.SetFat(b, b + 1 < 46 ? b + 1 : 0xFFFA);
  to.Entry(0)[2] = 0;
  to.Entry(0)[0] = 0xCC;
  Open(target, to, "to.dcm");
  ASSERT_EQ(target.free_blocks, 154);
  ASSERT_EQ(CopySave(source, 0, target), TransferError::kNone);
  const auto fat = target.fat;
  const auto records = target.records;
  EXPECT_EQ(CopySave(source, 1, target), TransferError::kNotEnoughFreeBlocks);
  EXPECT_EQ(target.fat, fat);
  EXPECT_EQ(target.records[2].size, records[2].size);
  ExpectConsistent(target);
  EXPECT_EQ(target.free_blocks, 4);
}

TEST_F(SaveTransfer, DataSaveNeverStartsAtBlockZero) {
  CardBuilder from;
  from.AddSave(0, "ONE", {3});
  Open(source, from, "from.dcm");
  CardBuilder to(200);
  std::vector<std::uint8_t> all_but_zero;
  for (int b = 199; b >= 1; --b) all_but_zero.push_back(static_cast<std::uint8_t>(b));
  to.AddSave(0, "FILLER", all_but_zero);
  Open(target, to, "to.dcm");
  target.free_blocks = 1;
  // Block 0 is free, but a data entry starting there would read as an empty slot.
  EXPECT_EQ(CopySave(source, 0, target), TransferError::kNotEnoughFreeBlocks);
  EXPECT_EQ(target.fat[0], kFatFree);
}

TEST_F(SaveTransfer, FullDirectoryRefusesBeforeWriting) {
  CardBuilder from;
  from.AddSave(0, "ONE", {3});
  Open(source, from, "from.dcm");
  CardBuilder to(241);
  for (int slot = 0; slot < 208; ++slot) {
    to.AddSave(slot, "S" + std::to_string(slot), {static_cast<std::uint8_t>(slot + 1)});
  }
  Open(target, to, "to.dcm");
  ASSERT_EQ(target.free_blocks, 33);
  const std::vector<std::uint8_t> before = Bytes("to.dcm");
  EXPECT_EQ(CopySave(source, 0, target), TransferError::kNoDirectorySlot);
  EXPECT_EQ(Bytes("to.dcm"), before);
  EXPECT_EQ(target.fat[240], kFatFree);
}

TEST_F(SaveTransfer, ChainShorterThanTheDirectorySizeIsNotCopied) {
  CardBuilder from;
  from.AddSave(0, "CUTSHORT", {20, 21, 22});
  from.SetFat(21, 0x1234);  // the chain leaves the card after two of its three blocks
  from.AddSave(1, "ENDSEARLY", {30, 31, 32});
  from.SetFat(31, kFatLast);
  Open(source, from, "from.dcm");
  Open(target, CardBuilder(200), "to.dcm");
  const std::vector<std::uint8_t> before = Bytes("to.dcm");
  EXPECT_EQ(CopySave(source, 0, target), TransferError::kReadFailed);
  EXPECT_EQ(CopySave(source, 1, target), TransferError::kReadFailed);
  EXPECT_EQ(target.records[0].size, 0);
  ExpectConsistent(target);
  EXPECT_EQ(target.listed_count, 0);
  // Only the free blocks 197 to 199 that the copies had planned may have been written.
  const std::vector<std::uint8_t> after = Bytes("to.dcm");
  EXPECT_TRUE(std::equal(before.begin() + 200 * 512, before.end(), after.begin() + 200 * 512));
}

// A save whose entry no card may hold (its type is neither data nor game) is refused as its
// single-save file would be: copied as it is, the target would check dirty. A replace of a
// save of that name deletes nothing.
TEST_F(SaveTransfer, EntryNoCardMayHoldIsNotCopied) {
  CardBuilder from;
  from.AddSave(0, "ODDTYPE", {3, 4});
  from.Entry(0)[kEntryType] = 0x31;
  Open(source, from, "from.dcm");
  CardBuilder to;
  to.AddSave(0, "ODDTYPE", {199});
  Open(target, to, "to.dcm");
  const std::vector<std::uint8_t> before = Bytes("to.dcm");
  EXPECT_EQ(CopySave(source, 0, target), TransferError::kBadEntry);
  const StoreResult replaced = CopySaveCommand(source, 0, target, FixedAnswers(/*replace=*/true));
  EXPECT_EQ(replaced.error, TransferError::kBadEntry);
  EXPECT_FALSE(replaced.written);
  EXPECT_EQ(Bytes("to.dcm"), before);
  ExpectConsistent(target);
  EXPECT_EQ(target.listed_count, 1);
}

TEST_F(SaveTransfer, SameCardIsRefused) {
  CardBuilder from;
  from.AddSave(0, "ONE", {3});
  Open(source, from, "from.dcm");
  EXPECT_EQ(CopySave(source, 0, source), TransferError::kSamePane);
}

TEST_F(SaveTransfer, DeleteFreesExactlyTheChainAndTheSlotIsReused) {
  CardBuilder card;
  card.AddSave(0, "KEEP", {199, 198});
  card.AddSave(1, "DROP", {150, 20, 197});
  Open(target, card, "card.dcm");
  ASSERT_TRUE(DeleteSave(target, 1));
  ExpectConsistent(target);
  EXPECT_EQ(target.fat[150], kFatFree);
  EXPECT_EQ(target.fat[20], kFatFree);
  EXPECT_EQ(target.fat[197], kFatFree);
  EXPECT_EQ(target.fat[198], kFatLast);
  EXPECT_EQ(target.records[1].size, 0);
  EXPECT_EQ(target.records[1].entry, DirEntry{});
  EXPECT_FALSE(DeleteSave(target, 1));  // nothing left to delete

  CardBuilder from;
  from.AddSave(9, "NEW", {5});
  Open(source, from, "from.dcm");
  ASSERT_EQ(CopySave(source, 9, target), TransferError::kNone);
  ExpectConsistent(target);
  EXPECT_EQ(target.records[1].name, std::string("NEW") + std::string(9, '\0'));
  EXPECT_EQ(target.records[1].first_block, 197);
}

TEST_F(SaveTransfer, DeletingADamagedChainIsBoundedAndSparesSystemBlocks) {
  CardBuilder card;
  card.AddSave(0, "LOOPED", {10, 11});
  card.SetFat(11, 10);  // 10 -> 11 -> 10 ...
  card.AddSave(1, "INTOSYSTEM", {12});
  card.SetFat(12, 250);
  Open(target, card, "card.dcm");
  EXPECT_FALSE(CheckCard(target).empty());
  ASSERT_TRUE(DeleteSave(target, 0));
  ASSERT_TRUE(DeleteSave(target, 1));
  EXPECT_EQ(target.fat[10], kFatFree);
  EXPECT_EQ(target.fat[11], kFatFree);
  EXPECT_EQ(target.fat[250], 249);
  ASSERT_EQ(LoadCard(target), LoadResult::kLoaded);
  EXPECT_EQ(target.listed_count, 0);
}

TEST_F(SaveTransfer, FormatWritesTheRootTemplate) {
  CardBuilder card;
  card.AddSave(0, "OLD", {199});
  Open(target, card, "card.dcm");
  ASSERT_TRUE(FormatCard(target, 241));
  ExpectConsistent(target);
  EXPECT_EQ(target.listed_count, 0);
  EXPECT_EQ(target.free_blocks, 241);

  std::vector<std::uint8_t> image = Bytes("card.dcm");
  std::array<std::uint8_t, 512> root = test::LogicalBlock(image, 255);
  const std::uint8_t expected_head[] = {0x01, 0xFF, 0x3F, 0x5F, 0xFF};
  EXPECT_TRUE(std::equal(expected_head, expected_head + 5, root.begin() + 0x10));
  EXPECT_EQ(root[0x0F], 0x55);
  EXPECT_EQ(root[0x30], 0x19);
  EXPECT_EQ(root[0x37], 0x02);
  EXPECT_EQ(root[0x46], 0xFE);
  EXPECT_EQ(root[0x4C], 0x0D);
  EXPECT_EQ(root[0x4E], 0x08);
  EXPECT_EQ(root[0x50], 0xF1);
  EXPECT_EQ(root[0x51], 0x00);
  EXPECT_EQ(root[0x52], 0x1F);
  EXPECT_EQ(std::count(root.begin() + 0x60, root.end(), 0), 512 - 0x60);
  for (int block = 241; block <= 253; ++block) {
    std::array<std::uint8_t, 512> dir_block = test::LogicalBlock(image, block);
    EXPECT_EQ(std::count(dir_block.begin(), dir_block.end(), 0), 512) << block;
  }
  std::array<std::uint8_t, 512> fat = test::LogicalBlock(image, 254);
  EXPECT_EQ(fat[2 * 253], 252);
  EXPECT_EQ(fat[2 * 241], 0xFA);
  EXPECT_EQ(fat[2 * 199 + 1], 0xFF);
  EXPECT_EQ(fat[2 * 199], 0xFC);
}

TEST_F(SaveTransfer, UnformattedCardCanBeFormatted) {
  Open(target, CardBuilder(200), "card.dcm");
  CloseImageFile(target);
  ASSERT_TRUE(OpenImageFile(target, (dir / "erased.dcm").string()));
  ASSERT_EQ(LoadCard(target), LoadResult::kUnformatted);
  ASSERT_TRUE(FormatCard(target, 200));
  ExpectConsistent(target);
  EXPECT_EQ(target.free_blocks, 200);
}

TEST_F(SaveTransfer, SaveDataRoundTripsThroughAWorkingFile) {
  CardBuilder card;
  card.AddSave(0, "EDITME", {30, 31, 12});
  Open(target, card, "card.dcm");
  const std::string work = (dir / "~ico._").string();
  ASSERT_TRUE(ExportSaveData(target, 0, work));
  std::vector<std::uint8_t> data = test::ReadFile(work);
  ASSERT_EQ(data.size(), 3u * 512);
  EXPECT_TRUE(std::equal(data.begin() + 1024, data.end(), test::SavePattern(0, 2).begin()));

  data[1024] = 0xAB;
  std::ofstream(work, std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  ASSERT_TRUE(ImportSaveData(target, 0, work));
  EXPECT_EQ(test::LogicalBlock(Bytes("card.dcm"), 12)[0], 0xAB);
  ExpectConsistent(target);
  EXPECT_EQ(target.records[0].size, 3);
}

TEST_F(SaveTransfer, WorkingFileReplacesAPlantedLinkAndIsNotWrittenHalf) {
  CardBuilder card;
  card.AddSave(0, "EDITME", {30, 31});
  Open(target, card, "card.dcm");
  const std::filesystem::path victim = dir / "victim";
  std::ofstream(victim) << "keep";
  const std::string work = (dir / "~ico._").string();
  std::filesystem::create_symlink(victim, work);
  ASSERT_TRUE(ExportSaveData(target, 0, work));
  EXPECT_FALSE(std::filesystem::is_symlink(work));
  EXPECT_EQ(test::ReadFile(victim).size(), 4u);
  EXPECT_EQ(test::ReadFile(work).size(), 2u * 512);

  // A save whose blocks cannot be read leaves the last complete working file.
  CloseImageFile(target);
  EXPECT_FALSE(ExportSaveData(target, 0, work));
  EXPECT_EQ(test::ReadFile(work).size(), 2u * 512);
}

TEST_F(SaveTransfer, ShortWorkingFileWritesOnlyWhatItHolds) {
  CardBuilder card;
  card.AddSave(0, "EDITME", {30, 31});
  Open(target, card, "card.dcm");
  const std::string work = (dir / "short").string();
  std::vector<std::uint8_t> data(600, 0x44);
  std::ofstream(work, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), 600);
  ASSERT_TRUE(ImportSaveData(target, 0, work));
  std::vector<std::uint8_t> image = Bytes("card.dcm");
  EXPECT_EQ(test::LogicalBlock(image, 30)[511], 0x44);
  std::array<std::uint8_t, 512> second = test::LogicalBlock(image, 31);
  EXPECT_EQ(second[87], 0x44);
  EXPECT_EQ(second[88], 0x00);  // the rest of a cut block is zero
}

// Copies over the link, with failures injected on either side.
class SlotTransfer : public test::ScriptedSlotTest {
 protected:
  SlotTransfer() {
    CardBuilder one;
    one.AddSave(0, "FROMSLOT1", {199, 198, 197, 196});
    slots.cards[0] = one.Bytes();
    CardBuilder two;
    two.AddSave(0, "OTHER", {199});
    slots.cards[1] = two.Bytes();
    reports.progress = [this](int position, int maximum) {
      progress.emplace_back(position, maximum);
    };
    reports.status_text = [this](std::string_view text) { status = text; };
  }
  void LoadBoth() {
    ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
    ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
    progress.clear();
  }
  std::vector<std::pair<int, int>> progress;
  std::string status;
};

TEST_F(SlotTransfer, DirectionOneCopiesSlot1ToSlot2WithProgress) {
  LoadBoth();
  ASSERT_EQ(CopySave(1, 0, slot1, slot2), TransferError::kNone);
  EXPECT_EQ(status, "      複製中...");
  EXPECT_EQ(progress.front(), std::make_pair(0, 4));
  EXPECT_EQ(progress[4], std::make_pair(4, 4));
  EXPECT_EQ(progress.back(), std::make_pair(0, 0));
  ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
  EXPECT_EQ(CheckCard(slot2), std::vector<std::string>{});
  EXPECT_EQ(slot2.records[1].first_block, 198);
  EXPECT_EQ(test::LogicalBlock(slots.cards[1], 195), test::SavePattern(0, 3));
  // Direction 0 copies back.
  ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
  ASSERT_EQ(CopySave(0, 0, slot1, slot2), TransferError::kNone);
  ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
  EXPECT_EQ(slot1.records[1].name.substr(0, 5), "OTHER");
}

TEST_F(SlotTransfer, FailedReadLeavesTheTargetModelAndCardAsTheyWere) {
  LoadBoth();
  const auto fat = slot2.fat;
  const auto card_before = slots.cards[1];
  slots.fail_reads_of[198] = 16;  // the save's second block
  EXPECT_EQ(CopySave(slot1, 0, slot2), TransferError::kReadFailed);
  EXPECT_EQ(slot2.fat, fat);
  EXPECT_EQ(slot2.records[1].size, 0);
  EXPECT_EQ(messages.informed.size(), 1u);
  EXPECT_EQ(link_gave_up, 1);
  // Only the failed step's block may have been written, into a block that stays free.
  ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
  EXPECT_EQ(slot2.listed_count, 1);
  EXPECT_EQ(CheckCard(slot2), std::vector<std::string>{});
  EXPECT_TRUE(std::equal(card_before.begin() + 241 * 512, card_before.end(),
                         slots.cards[1].begin() + 241 * 512));
}

TEST_F(SlotTransfer, FailedWriteStopsBeforeFatAndDirectory) {
  LoadBoth();
  const auto fat = slot2.fat;
  const auto system_before =
      std::vector<std::uint8_t>(slots.cards[1].begin() + 241 * 512, slots.cards[1].end());
  slots.write_calls = 0;
  slots.fail_next_writes = 5;
  EXPECT_EQ(CopySave(slot1, 0, slot2), TransferError::kWriteFailed);
  EXPECT_EQ(slots.write_calls, 5);  // one block, five attempts, then nothing more
  EXPECT_EQ(slot2.fat, fat);
  EXPECT_EQ(messages.informed.size(), 1u);
  EXPECT_TRUE(
      std::equal(system_before.begin(), system_before.end(), slots.cards[1].begin() + 241 * 512));
  ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
  EXPECT_EQ(CheckCard(slot2), std::vector<std::string>{});
}

TEST_F(SlotTransfer, FailedDirectoryWritePutsTheOldFatBack) {
  LoadBoth();
  const auto fat = slot2.fat;
  slots.fail_writes_of[kDirectoryBlock] = 5;  // blocks and FAT go through, the directory not
  EXPECT_EQ(CopySave(slot1, 0, slot2), TransferError::kWriteFailed);
  EXPECT_EQ(slot2.fat, fat);
  EXPECT_EQ(slot2.records[1].size, 0);
  ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
  EXPECT_EQ(slot2.fat, fat);
  EXPECT_EQ(slot2.listed_count, 1);
  EXPECT_EQ(CheckCard(slot2), std::vector<std::string>{});
}

TEST_F(SlotTransfer, FailedFatWriteRestoresTheModel) {
  LoadBoth();
  const auto fat = slot2.fat;
  slots.fail_writes_of[kFatBlock] = 5;  // the data blocks go through, the FAT does not
  EXPECT_EQ(CopySave(slot1, 0, slot2), TransferError::kWriteFailed);
  EXPECT_EQ(slot2.fat, fat);
  EXPECT_EQ(slot2.records[1].size, 0);
}

// A delete that cannot finish leaves the save listed with its blocks: the directory is written
// before the FAT, and put back when the FAT cannot be written.
TEST_F(SlotTransfer, FailedDeleteKeepsTheSaveListedWithItsBlocks) {
  for (const int failing : {int{kDirectoryBlock}, int{kFatBlock}}) {
    LoadBoth();
    const auto fat = slot1.fat;
    const std::size_t listed = slot1.listed_count;
    slots.fail_writes_of[failing] = 5;
    EXPECT_FALSE(DeleteSave(slot1, 0)) << failing;
    EXPECT_EQ(slot1.fat, fat);
    ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
    EXPECT_EQ(slot1.fat, fat) << failing;
    EXPECT_EQ(slot1.listed_count, listed) << failing;
    EXPECT_EQ(CheckCard(slot1), std::vector<std::string>{}) << failing;
  }
}

// A replace never loses the old save: with room for both the new save is stored whole before
// the old one is deleted; without, the whole save is read from the source first. A block that
// cannot be read or written then leaves the old save listed.
TEST_F(SlotTransfer, AReplaceThatFailsKeepsTheOldSave) {
  const struct {
    bool room_for_both;
    int failing_read;   // a block of the source (slot 1), or -1
    int failing_write;  // a block of the target (slot 2), or -1
  } cases[] = {
      {true, 198, -1},  {true, -1, 150}, {true, -1, kFatBlock},
      {false, 197, -1}, {true, -1, -1},  {false, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.room_for_both) + " " + std::to_string(c.failing_read) + " " +
                 std::to_string(c.failing_write));
    CardBuilder two;
    two.AddSave(0, "OTHER", {199});
    two.AddSave(1, "FROMSLOT1", {198});
    std::vector<std::uint8_t> filler;
    for (int b = 197; b > (c.room_for_both ? 150 : 2); --b)
      filler.push_back(static_cast<std::uint8_t>(b));
    two.AddSave(2, "FILLER", filler);
    slots.cards[1] = two.Bytes();
    LoadBoth();
    if (c.failing_read >= 0) slots.fail_reads_of[c.failing_read] = 16;
    if (c.failing_write >= 0) slots.fail_writes_of[c.failing_write] = 16;
    const StoreResult result = CopySaveCommand(slot1, 0, slot2, FixedAnswers(/*replace=*/true));
    slots.fail_reads_of.clear();
    slots.fail_writes_of.clear();
    const bool fails = c.failing_read >= 0 || c.failing_write >= 0;
    EXPECT_EQ(result.Stored(), !fails);
    EXPECT_EQ(result.replaced, !fails);
    ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
    EXPECT_EQ(CheckCard(slot2), std::vector<std::string>{});
    const std::optional<std::size_t> found = FindSaveByName(slot2, slot1.records[0].name);
    ASSERT_TRUE(found);
    EXPECT_EQ(slot2.records[*found].size, fails ? 1 : 4);
    EXPECT_EQ(slot2.listed_count, 3);
  }
}

}  // namespace
}  // namespace quorvel
