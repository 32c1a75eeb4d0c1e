// Tests of the demo cards and the data files: both cards load, are consistent and hold what
// the demo promises; the template is an empty formatted card; NA.bmp is our 32 x 32 picture.
#include "demo_cards.h"

#include <gtest/gtest.h>

#include <random>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/card_check.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"

namespace quorvel::demo {
namespace {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("quorvel-demo-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

TEST(DemoCards, TwoConsistentCardsWithADozenSaves) {
  TempFolder dir;
  std::string error;
  ASSERT_TRUE(WriteDemoCards(dir.path(), error)) << error;
  int saves = 0;
  int animated = 0;
  int games = 0;
  int card_icons = 0;
  for (const char* name : {"slot1.dcm", "slot2.dcm"}) {
    ASSERT_EQ(CheckImageFile(dir.path() / name), DcmError::kNone);
    CardImage card;
    ASSERT_TRUE(OpenImageFile(card, (dir.path() / name).string()));
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    EXPECT_TRUE(CheckCard(card).empty()) << name;
    for (std::size_t k = 0; k < card.listed_count; ++k) {
      const std::size_t index = card.list_order[k];
      const SaveRecord& save = card.records[index];
      if (save.name == "ICONDATA_VMS") {
        ++card_icons;
        EXPECT_EQ(save.description, "VMU CAPTION LOGO");
        continue;
      }
      ++saves;
      games += save.header_in_second_block ? 1 : 0;
      animated += save.icon_count >= 2 && save.icon_count <= 4 ? 1 : 0;
      EXPECT_GE(save.icon_count, 1) << save.name;
      EXPECT_EQ(DecodeIconFrames(card, index).size(), save.icon_count) << save.name;
      EXPECT_NE(save.description.find_first_not_of(' '), std::string::npos) << save.name;
    }
  }
  EXPECT_EQ(saves, 12);
  EXPECT_GE(animated, 6);
  EXPECT_EQ(games, 1);
  EXPECT_EQ(card_icons, 1);
}

TEST(DemoCards, TheGameStartsWithItsProgram) {
  TempFolder dir;
  std::string error;
  ASSERT_TRUE(WriteDemoCards(dir.path(), error)) << error;
  CardImage card;
  ASSERT_TRUE(OpenImageFile(card, (dir.path() / "slot1.dcm").string()));
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  ASSERT_EQ(card.records[0].first_block, 0);
  Block code;
  ASSERT_TRUE(ReadBlock(card, 0, code));
  ReverseGroups(code);
  EXPECT_EQ(code[0], 0x21);  // JMPF $0060
  EXPECT_EQ(code[1], 0x00);
  EXPECT_EQ(code[2], 0x60);
  EXPECT_EQ(code[0x60], 0x23);
}

TEST(DataFiles, TemplateIsAnEmptyCardAndNaIsOurPicture) {
  const std::filesystem::path built = QUORVEL_BUILT_DATA_FILES;
  CardImage card;
  ASSERT_EQ(CheckImageFile(built / "dpnw.dc"), DcmError::kNone);
  ASSERT_TRUE(OpenImageFile(card, (built / "dpnw.dc").string()));
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(card.listed_count, 0);
  EXPECT_EQ(card.free_blocks, 200);
  EXPECT_TRUE(CheckCard(card).empty());

  IconImage picture;
  ASSERT_EQ(ReadIconBmp(picture, built / "NA.bmp"), BmpReadResult::kOk);
  EXPECT_EQ(picture.bytes, NoIconPicture().bytes);
  EXPECT_EQ(std::filesystem::file_size(built / "NA.bmp"), kIconBmpSize);
}

}  // namespace
}  // namespace quorvel::demo
