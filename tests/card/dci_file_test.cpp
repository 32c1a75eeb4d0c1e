// Tests of single-save files: export, import and the name they carry.
#include "card/dci_file.h"

#include <gtest/gtest.h>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

using test::CardBuilder;
using test::ReadFile;
using test::SlotsEnvironment;

class Dci : public ::testing::Test {
 protected:
  void Load(CardImage& card, const CardBuilder& builder, const std::string& name) {
    test::OpenBuilt(card, builder, dir, name);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  // Imports and reloads; the card must stay consistent whatever happened.
  DciImportResult Import(CardImage& card, const std::filesystem::path& path) {
    const DciImportResult result = ImportDci(card, path);
    EXPECT_EQ(LoadCard(card), LoadResult::kLoaded);
    EXPECT_TRUE(CheckCard(card).empty());
    return result;
  }
  std::vector<std::uint8_t> Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    EXPECT_TRUE(ReplaceFileContents(dir / name, bytes));
    return bytes;
  }
  test::TempDir dir;
  CardImage source;
  CardImage target;
};

// A single-save file made by hand: `blocks` blocks, each filled with its own number.
std::vector<std::uint8_t> HandMadeDci(const std::string& name, std::uint8_t blocks,
                                      bool game = false, std::uint8_t first_block = 0) {
  std::vector<std::uint8_t> file(32 + 512 * blocks);
  file[0] = game ? 0xCC : 0x33;
  file[2] = first_block;
  std::copy(name.begin(), name.end(), file.begin() + 4);
  file[0x18] = blocks;
  for (int k = 0; k < blocks; ++k) std::fill_n(file.begin() + 32 + 512 * k, 512, k + 1);
  return file;
}

TEST_F(Dci, ExportOfAFiveBlockSaveIsItsEntryAndItsRawBlocks) {
  CardBuilder builder;
  const std::vector<std::uint8_t> chain = {120, 7, 99, 98, 3};
  builder.AddSave(4, "FIVE_BLOCKS_", chain);
  Load(source, builder, "source.dcm");
  ASSERT_EQ(ExportDci(source, 4, dir / "five.dci"), DciExportError::kNone);
  const auto file = ReadFile(dir / "five.dci");
  ASSERT_EQ(file.size(), 2592u);
  const std::uint8_t* entry = builder.Entry(4);
  EXPECT_TRUE(std::equal(entry, entry + 32, file.begin()));
  const auto image = builder.Bytes();
  for (std::size_t k = 0; k < chain.size(); ++k) {
    EXPECT_TRUE(std::equal(file.begin() + 32 + 512 * k, file.begin() + 32 + 512 * (k + 1),
                           image.begin() + 512 * chain[k]))
        << "block " << k;
  }
  EXPECT_EQ(DciName(dir / "five.dci"), "FIVE_BLOCKS_");
}

TEST_F(Dci, ImportIntoAnEmptyCardTakesTheTopBlocks) {
  CardBuilder builder;
  builder.AddSave(4, "FIVE_BLOCKS_", {120, 7, 99, 98, 3});
  Load(source, builder, "source.dcm");
  ASSERT_EQ(ExportDci(source, 4, dir / "five.dci"), DciExportError::kNone);
  Load(target, CardBuilder(200), "target.dcm");
  ASSERT_TRUE(Import(target, dir / "five.dci").Imported());
  ASSERT_EQ(target.listed_count, 1);
  const SaveRecord& save = target.records[0];
  EXPECT_EQ(save.first_block, 199);
  for (int b = 199; b > 195; --b) EXPECT_EQ(target.fat[b], b - 1);
  EXPECT_EQ(target.fat[195], kFatLast);
  const std::uint8_t* entry = builder.Entry(4);
  for (std::size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(save.entry[i], i == 2 ? 199 : entry[i]) << i;
  }
  EXPECT_EQ(target.free_blocks, 195);
}

TEST_F(Dci, AGameGoesToBlockZeroOrNowhere) {
  Write("game.dci", HandMadeDci("GAME________", 3, true));
  Load(target, CardBuilder(200), "target.dcm");
  ASSERT_TRUE(Import(target, dir / "game.dci").Imported());
  EXPECT_EQ(target.records[0].first_block, 0);
  EXPECT_EQ(target.fat[0], 1);
  EXPECT_EQ(target.fat[2], kFatLast);
  EXPECT_TRUE(target.records[0].header_in_second_block);

  const auto before = ReadFile(dir / "target.dcm");
  const DciImportResult second = Import(target, dir / "game.dci");
  EXPECT_EQ(second.placement, TransferError::kGameBlocksInUse);
  EXPECT_FALSE(second.Imported());
  EXPECT_EQ(ReadFile(dir / "target.dcm"), before);
}

// The card lists an entry of type 0xCC as a game when its byte 0x03 is 0, whatever its first
// block says; an import stores such a file where the card then looks for it, and refuses a
// game whose first block is 256 or more.
TEST_F(Dci, AGameTypeIsStoredAsWhatTheCardListsItAs) {
  // The entry CC 00 07 00: a game for the card, although it names block 7.
  Write("odd_game.dci", HandMadeDci("ODD_GAME____", 2, true, 7));
  Load(target, CardBuilder(200), "target.dcm");
  ASSERT_TRUE(Import(target, dir / "odd_game.dci").Imported());
  EXPECT_TRUE(target.records[0].header_in_second_block);
  EXPECT_EQ(target.records[0].first_block, 0);
  EXPECT_EQ(target.records[0].entry[2], 0);
  EXPECT_EQ(target.fat[0], 1);
  EXPECT_EQ(target.fat[1], kFatLast);
  EXPECT_EQ(target.fat[199], kFatFree);

  // The entry CC 00 00 05 names block 1280 + 0: the console would look for a game there, and
  // stored as data it would keep the game type. Refused, the card unchanged.
  auto data = HandMadeDci("ODD_DATA____", 2, true, 0);
  data[3] = 5;
  Write("odd_data.dci", data);
  const auto before = ReadFile(dir / "target.dcm");
  const DciImportResult refused = Import(target, dir / "odd_data.dci");
  EXPECT_EQ(refused.file, DciImportResult::File::kBadEntry);
  EXPECT_EQ(DescribeImport(refused),
            "the single-save file's entry cannot be stored on a card: first block 1280 is not a "
            "block of the card");
  EXPECT_EQ(ReadFile(dir / "target.dcm"), before);
}

TEST_F(Dci, RefusalsSayWhyAndChangeNothing) {
  Load(target, CardBuilder(200), "target.dcm");
  const auto before = ReadFile(dir / "target.dcm");

  Write("empty.dci", HandMadeDci("EMPTY_______", 0));
  DciImportResult result = Import(target, dir / "empty.dci");
  EXPECT_EQ(result.placement, TransferError::kNoSpace);
  EXPECT_EQ(DescribeImport(result), Describe(TransferError::kNoSpace)) << "quorvel-cli's English";

  Write("big.dci", HandMadeDci("BIG_________", 201));
  EXPECT_EQ(Import(target, dir / "big.dci").placement, TransferError::kNoSpace);

  // Shorter than its entry's 3 blocks: refused before anything is allocated or written.
  auto short_file = HandMadeDci("SHORT_______", 3);
  short_file.resize(short_file.size() - 1);
  Write("short.dci", short_file);
  result = Import(target, dir / "short.dci");
  EXPECT_EQ(result.file, DciImportResult::File::kTooShort);
  EXPECT_FALSE(DescribeImport(result).empty());
  Write("tiny.dci", {0x33, 0x00});
  EXPECT_EQ(Import(target, dir / "tiny.dci").file, DciImportResult::File::kTooShort);

  EXPECT_EQ(Import(target, dir / "missing.dci").file, DciImportResult::File::kCannotRead);
  EXPECT_EQ(ReadFile(dir / "target.dcm"), before);
  EXPECT_EQ(target.listed_count, 0);
}

TEST_F(Dci, AFullDirectoryRefusesTheImport) {
  CardBuilder builder(241);
  for (int slot = 0; slot < 208; ++slot) {
    builder.AddSave(slot, "S" + std::to_string(1000 + slot), {static_cast<std::uint8_t>(slot + 1)});
  }
  Load(target, builder, "target.dcm");
  const auto before = ReadFile(dir / "target.dcm");
  Write("one.dci", HandMadeDci("ONE_________", 1));
  EXPECT_EQ(Import(target, dir / "one.dci").placement, TransferError::kNoDirectorySlot);
  EXPECT_EQ(ReadFile(dir / "target.dcm"), before);
}

TEST_F(Dci, ImportingTheSameFileTwiceGivesTwoSavesOfThatName) {
  Write("twice.dci", HandMadeDci("TWICE_______", 2));
  Load(target, CardBuilder(200), "target.dcm");
  ASSERT_TRUE(Import(target, dir / "twice.dci").Imported());
  ASSERT_TRUE(Import(target, dir / "twice.dci").Imported());
  ASSERT_EQ(target.listed_count, 2);
  EXPECT_EQ(target.records[0].name, "TWICE_______");
  EXPECT_EQ(target.records[1].name, "TWICE_______");
  EXPECT_EQ(target.records[1].first_block, 197);
}

TEST_F(Dci, AFailedBlockWriteLeavesFatAndDirectoryUnwritten) {
  test::ScriptedSlots link;
  link.cards[0] = CardBuilder(200).Bytes();
  test::RecordingMessages messages;
  CardEnvironment environment = SlotsEnvironment(link, &messages);
  CardImage slot(kSourceSlot1, &environment);
  ASSERT_EQ(LoadCard(slot), LoadResult::kLoaded);
  const auto before = link.cards[0];
  const auto model_fat = slot.fat;
  Write("two.dci", HandMadeDci("TWO_________", 2));
  link.fail_next_writes = 5;  // every attempt at the first block
  const DciImportResult result = ImportDci(slot, dir / "two.dci");
  EXPECT_EQ(result.placement, TransferError::kWriteFailed);
  EXPECT_EQ(link.cards[0], before);
  EXPECT_EQ(slot.fat, model_fat);
  EXPECT_EQ(slot.records[0].size, 0);
}

TEST_F(Dci, ExportFailuresLeaveTheChosenFileAlone) {
  CardBuilder builder;
  builder.AddSave(0, "DATA________", {150, 149, 148});
  builder.AddSave(1, "BROKEN______", {140, 139});
  builder.SetFat(140, kFatLast);  // the chain ends before the save's two blocks
  test::ScriptedSlots link;
  link.cards[0] = builder.Bytes();
  CardEnvironment environment = SlotsEnvironment(link);
  CardImage slot(kSourceSlot1, &environment);
  ASSERT_EQ(LoadCard(slot), LoadResult::kLoaded);
  const auto old = Write("old.dci", {1, 2, 3});

  EXPECT_EQ(ExportDci(slot, 1, dir / "old.dci"), DciExportError::kShortChain);
  EXPECT_EQ(ReadFile(dir / "old.dci"), old);
  EXPECT_EQ(ExportDci(slot, 5, dir / "old.dci"), DciExportError::kNoSave);
  link.fail_next_reads = 16;
  EXPECT_EQ(ExportDci(slot, 0, dir / "old.dci"), DciExportError::kReadFailed);
  EXPECT_EQ(ReadFile(dir / "old.dci"), old);
  EXPECT_EQ(ExportDci(slot, 0, dir / "no-such-folder" / "x.dci"), DciExportError::kCannotWrite);
}

TEST_F(Dci, DciNameKeepsAllTwelveCharacters) {
  Write("a.dci", HandMadeDci("AB  CD \x01   ", 1));
  EXPECT_EQ(DciName(dir / "a.dci"), std::string("AB  CD \x01   ", 12));
  Write("short.dci", std::vector<std::uint8_t>(15, 'x'));
  EXPECT_FALSE(DciName(dir / "short.dci"));
  EXPECT_FALSE(DciName(dir / "missing.dci"));
}

// Export then import of every save gives the same saves on an empty card.
TEST_F(Dci, EverySaveSurvivesExportAndImport) {
  CardBuilder builder;
  builder.AddSave(0, "GAME________", {0, 1, 2, 3}, true, 1);
  builder.AddSave(1, "DATA_ONE____", {199, 198});
  builder.AddSave(2, "DATA_TWO____", {120, 90, 91, 60, 61, 62});
  builder.AddSave(7, "DATA_THREE__", {50});
  Load(source, builder, "source.dcm");
  Load(target, CardBuilder(200), "target.dcm");
  for (std::size_t k = 0; k < source.listed_count; ++k) {
    const std::size_t index = source.list_order[k];
    const auto path = dir / ("save" + std::to_string(k) + ".dci");
    ASSERT_EQ(ExportDci(source, index, path), DciExportError::kNone);
    ASSERT_TRUE(Import(target, path).Imported()) << k;
  }
  ASSERT_EQ(target.listed_count, source.listed_count);
  for (std::size_t k = 0; k < source.listed_count; ++k) {
    const SaveRecord& from = source.records[source.list_order[k]];
    const SaveRecord& to = target.records[target.list_order[k]];
    EXPECT_EQ(to.name, from.name);
    EXPECT_EQ(to.size, from.size);
    EXPECT_EQ(to.description, from.description);
    for (std::size_t i = 0; i < 32; ++i) {
      if (i != 2) {
        EXPECT_EQ(to.entry[i], from.entry[i]) << to.name << " byte " << i;
      }
    }
    std::vector<std::uint8_t> a, b;
    ASSERT_EQ(BuildDci(source, source.list_order[k], a), DciExportError::kNone);
    ASSERT_EQ(BuildDci(target, target.list_order[k], b), DciExportError::kNone);
    EXPECT_TRUE(std::equal(a.begin() + 32, a.end(), b.begin() + 32, b.end())) << to.name;
  }
}

}  // namespace
}  // namespace quorvel
