// Real cards and single-save files made by consoles and other tools: every save lists, its
// icon frames decode, and it survives export and import into an empty card.
#include <gtest/gtest.h>

#include <filesystem>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/card_fixture.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

const std::filesystem::path kRealData = QUORVEL_REALDATA_DIR;

class RealData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kRealData)) GTEST_SKIP() << "no real card data";
  }
  // Opens a raw card (the card's own byte order) as a card image in link order.
  void OpenRaw(CardImage& card, const std::string& name) {
    std::vector<std::uint8_t> image = test::ReadFile(kRealData / name);
    ASSERT_EQ(image.size(), kImageFileSize);
    for (std::size_t at = 0; at < image.size(); at += kBlockSize) {
      ReverseGroups(std::span(image).subspan(at).first<kBlockSize>());
    }
    const auto path = dir / std::filesystem::path(name).filename().string();
    ASSERT_TRUE(ReplaceFileContents(path, image));
    ASSERT_TRUE(OpenImageFile(card, path.string()));
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  void OpenEmpty(CardImage& card, const std::string& name) {
    test::OpenBuilt(card, test::CardBuilder(200), dir, name);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  test::TempDir dir;
};

// Every save of the card: icon frames decode, export and import into an empty card give the
// same entry (but its first block), the same description and the same blocks.
void ExpectSavesSurvive(CardImage& card, CardImage& empty) {
  for (std::size_t k = 0; k < card.listed_count; ++k) {
    const std::size_t index = card.list_order[k];
    const SaveRecord& save = card.records[index];
    EXPECT_EQ(DecodeIconFrames(card, index).size(), save.icon_count) << save.name;
    std::vector<std::uint8_t> file;
    ASSERT_EQ(BuildDci(card, index, file), DciExportError::kNone) << save.name;
    ASSERT_TRUE(ImportDciBytes(empty, file).Imported()) << save.name;
    ASSERT_EQ(LoadCard(empty), LoadResult::kLoaded);
    EXPECT_TRUE(CheckCard(empty).empty()) << save.name;
    const std::size_t copied = empty.list_order[empty.listed_count - 1];
    std::vector<std::uint8_t> again;
    ASSERT_EQ(BuildDci(empty, copied, again), DciExportError::kNone);
    again[2] = file[2];
    EXPECT_EQ(again, file) << save.name;
    EXPECT_EQ(empty.records[copied].description, save.description);
    // Make room for the next save.
    ASSERT_TRUE(DeleteSave(empty, copied));
    ASSERT_EQ(LoadCard(empty), LoadResult::kLoaded);
  }
}

TEST_F(RealData, RawCardsListDecodeAndSurviveExportAndImport) {
  const std::vector<std::pair<std::string, int>> cards = {{"fuse-vmu/vmu_a.bin", 5},
                                                          {"fuse-vmu/vmu_b.bin", 3},
                                                          {"fuse-vmu/example_vmu.bin", 7},
                                                          {"dreampotato/ReadFiles_01.vmu", 7}};
  for (const auto& [name, saves] : cards) {
    SCOPED_TRACE(name);
    CardImage card;
    CardImage empty;
    OpenRaw(card, name);
    EXPECT_EQ(card.listed_count, saves);
    EXPECT_TRUE(CheckCard(card).empty());
    OpenEmpty(empty, "empty.dcm");
    ExpectSavesSurvive(card, empty);
  }
}

TEST_F(RealData, ToolOptionsHaveThreeFramesAndTheGameTwo) {
  CardImage card;
  OpenRaw(card, "dreampotato/ReadFiles_01.vmu");
  const auto options = FindSaveByName(card, "VMUTOOL__OPT");
  ASSERT_TRUE(options);
  const auto frames = DecodeIconFrames(card, *options);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_NE(frames[0].bytes, frames[1].bytes);  // an animation, not one picture three times
  for (std::size_t k = 0; k < card.listed_count; ++k) {
    const SaveRecord& save = card.records[card.list_order[k]];
    if (!save.header_in_second_block) continue;
    EXPECT_EQ(save.icon_count, 2);
    EXPECT_EQ(DecodeIconFrames(card, card.list_order[k]).size(), 2u);
  }
}

TEST_F(RealData, SingleSaveFilesImportAndExportUnchanged) {
  for (const std::string name : {"fuse-vmu/evo.dci", "fuse-vmu/sa2.dci"}) {
    SCOPED_TRACE(name);
    const auto original = test::ReadFile(kRealData / name);
    const auto save_name = DciName(kRealData / name);
    ASSERT_TRUE(save_name);
    CardImage card;
    OpenEmpty(card, "card.dcm");
    ASSERT_TRUE(ImportDci(card, kRealData / name).Imported());
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    EXPECT_TRUE(CheckCard(card).empty());
    const auto index = FindSaveByName(card, *save_name);
    ASSERT_TRUE(index);
    EXPECT_EQ(DciFileSize(card.records[*index].size), original.size());
    EXPECT_GE(card.records[*index].icon_count, 1);
    EXPECT_EQ(DecodeIconFrames(card, *index).size(), card.records[*index].icon_count);
    std::vector<std::uint8_t> exported;
    ASSERT_EQ(BuildDci(card, *index, exported), DciExportError::kNone);
    exported[2] = original[2];
    EXPECT_EQ(exported, original);
    CloseImageFile(card);
  }
}

}  // namespace
}  // namespace quorvel
