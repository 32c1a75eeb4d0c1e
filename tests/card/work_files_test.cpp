// Tests of the whole-file writer and reader.
#include "card/work_files.h"

#include <gtest/gtest.h>

#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/icon_test_util.h"
#include "card/save_transfer.h"

namespace quorvel {
namespace {

using test::PutFile;
using test::ReadFile;
using test::TempDir;

const std::vector<std::uint8_t> kBytes = {1, 2, 3, 4, 5};

TEST(ReplaceFileContentsTest, CreatesAndReplacesLeavingNoTemporaryFile) {
  TempDir dir;
  ASSERT_TRUE(ReplaceFileContents(dir / "f", kBytes));
  EXPECT_EQ(ReadFile(dir / "f"), kBytes);
  PutFile(dir / "f", std::vector<std::uint8_t>(100, 9));
  ASSERT_TRUE(ReplaceFileContents(dir / "f", {}));
  EXPECT_TRUE(ReadFile(dir / "f").empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator((dir / "")), {}), 1);
}

TEST(ReplaceFileContentsTest, APlantedLinkIsReplacedNotFollowed) {
  TempDir dir;
  PutFile(dir / "victim", kBytes);
  std::filesystem::create_symlink(dir / "victim", dir / "~ico._");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
  ASSERT_TRUE(ReplaceFileContents(dir / "~ico._", std::vector<std::uint8_t>{7, 7}));
  ASSERT_TRUE(ReplaceFileContents(dir / "dangling", std::vector<std::uint8_t>{8}));
  EXPECT_EQ(ReadFile(dir / "victim"), kBytes);
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "~ico._"));
  EXPECT_EQ(ReadFile(dir / "~ico._"), (std::vector<std::uint8_t>{7, 7}));
  EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));
}

TEST(ReplaceFileContentsTest, AFailureLeavesTheTargetAsItWas) {
  TempDir dir;
  EXPECT_FALSE(ReplaceFileContents(dir / "missing" / "f", kBytes));
  // A directory in the way cannot be replaced by a file.
  std::filesystem::create_directory(dir / "sub");
  PutFile(dir / "sub" / "inside", kBytes);
  EXPECT_FALSE(ReplaceFileContents(dir / "sub", kBytes));
  EXPECT_EQ(ReadFile(dir / "sub" / "inside"), kBytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator((dir / "")), {}), 1);
}

TEST(ReadFileBytesTest, ReadsUpToTheLimit) {
  TempDir dir;
  PutFile(dir / "f", kBytes);
  EXPECT_EQ(ReadFileBytes(dir / "f", 100), kBytes);
  EXPECT_EQ(ReadFileBytes(dir / "f", 2), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_FALSE(ReadFileBytes(dir / "none", 100));
  EXPECT_FALSE(ReadFileBytes((dir / ""), 100));
}

// The hex editor's and the disassembler's working file "~ico._" holds a save's data.
TEST(SaveDataWorkingFileTest, APlantedLinkIsNotFollowedAndAFailedReadKeepsNoNewFile) {
  TempDir dir;
  test::CardBuilder builder;
  builder.AddSave(0, "EDITME", {30, 31});
  CardImage card;
  test::OpenBuilt(card, builder, dir);
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  PutFile(dir / "victim", kBytes);
  std::filesystem::create_symlink(dir / "victim", dir / "~ico._");
  ASSERT_TRUE(ExportSaveData(card, 0, (dir / "~ico._").string()));
  EXPECT_EQ(ReadFile(dir / "victim"), kBytes);
  EXPECT_EQ(ReadFile(dir / "~ico._").size(), 2u * 512);
  EXPECT_FALSE(ExportSaveData(card, 0, (dir / "missing" / "~ico._").string()));
}

}  // namespace
}  // namespace quorvel
