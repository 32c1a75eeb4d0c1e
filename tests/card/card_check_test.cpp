// The consistency check finds each kind of damage, and real cards load, list and check.
#include "card/card_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "card/block_io.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/save_transfer.h"

namespace quorvel {
namespace {

using test::CardBuilder;

std::vector<std::string> Check(const CardBuilder& builder) {
  test::TempDir dir;
  CardImage card;
  test::OpenBuilt(card, builder, dir);
  EXPECT_EQ(LoadCard(card), LoadResult::kLoaded);
  return CheckCard(card);
}

bool Mentions(const std::vector<std::string>& problems, const std::string& words) {
  for (const std::string& problem : problems) {
    if (problem.find(words) != std::string::npos) return true;
  }
  return false;
}

TEST(CheckCard, FindsEachKindOfDamage) {
  CardBuilder cross;
  cross.AddSave(0, "A", {10, 11});
  cross.AddSave(1, "B", {12, 11});
  EXPECT_TRUE(Mentions(Check(cross), "block 11 is cross-linked with save 0 (A"));

  CardBuilder lost;
  lost.SetFat(30, 0xFFFA);
  EXPECT_EQ(Check(lost),
            std::vector<std::string>{"FAT: block 30 is in use but belongs to no save"});

  CardBuilder loop;
  loop.AddSave(0, "LOOP", {10, 11, 12});
  loop.SetFat(12, 10);
  auto problems = Check(loop);
  EXPECT_TRUE(Mentions(problems, "chain loops back to block 10"));

  CardBuilder size;
  size.AddSave(0, "SHORT", {10, 11});
  size.Entry(0)[0x18] = 3;
  EXPECT_TRUE(Mentions(Check(size), "chain has 2 blocks, directory says 3"));

  CardBuilder free_block;
  free_block.AddSave(0, "TOFREE", {10, 11});
  free_block.SetFat(11, 0xFFFC);
  EXPECT_TRUE(Mentions(Check(free_block), "chain runs into free block 11"));

  CardBuilder system;
  system.AddSave(0, "TOSYS", {10});
  system.SetFat(10, 250);
  EXPECT_TRUE(Mentions(Check(system), "runs into system block 250"));

  CardBuilder above;
  above.AddSave(0, "HIGH", {220});
  EXPECT_TRUE(Mentions(Check(above), "block 220 lies above the user blocks"));

  CardBuilder bad_value;
  bad_value.AddSave(0, "ODD", {10});
  bad_value.SetFat(10, 0x1234);
  EXPECT_TRUE(Mentions(Check(bad_value), "FAT value 0x1234"));

  CardBuilder dir_chain;
  dir_chain.SetFat(245, 0xFFFA);
  EXPECT_TRUE(Mentions(Check(dir_chain), "directory block 245 links to 0xFFFA, expected 0x00F4"));

  CardBuilder root;
  root.Logical(255)[0x50] = 250;
  EXPECT_TRUE(Mentions(Check(root), "user-block count 250"));
}

// Cards whose FAT and directory are random bytes: every operation ends, nothing crashes, and
// every copy that succeeds leaves a consistent target.
TEST(DamagedCards, RandomFatAndDirectoryNeverHangOrCrash) {
  test::TempDir dir;
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(seed >> 16);
  };
  for (int round = 0; round < 40; ++round) {
    CardBuilder builder;
    for (int block = 241; block <= 254; ++block) {
      for (auto& byte : builder.Logical(block)) byte = next();
    }
    if (round % 2 == 0) builder.SetFat(0, 0x0001);  // keep half of them formatted
    CardImage card;
    test::OpenBuilt(card, builder, dir, "random" + std::to_string(round) + ".dcm");
    if (LoadCard(card) != LoadResult::kLoaded) continue;
    CheckCard(card);
    CardImage empty;
    test::OpenBuilt(empty, CardBuilder(241), dir, "empty" + std::to_string(round) + ".dcm");
    ASSERT_EQ(LoadCard(empty), LoadResult::kLoaded);
    for (int k = 0; k < card.listed_count; ++k) {
      const std::size_t index = card.list_order[k];
      if (CopySave(card, index, empty) == TransferError::kNone) {
        ASSERT_EQ(LoadCard(empty), LoadResult::kLoaded);
        EXPECT_EQ(CheckCard(empty), std::vector<std::string>{});
      }
      DeleteSave(card, index);
    }
  }
}

// Opens a real card (kept in the card's own byte order) as an image in link order.
// False when the shared data is absent.
bool OpenRealCard(const std::string& name, const test::TempDir& dir, CardImage& card) {
  const std::filesystem::path path = std::filesystem::path(QUORVEL_REALDATA_DIR) / name;
  if (!std::filesystem::exists(path)) return false;
  const std::vector<std::uint8_t> raw = test::ReadFile(path);
  std::vector<std::uint8_t> image(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) image[i ^ 3] = raw[i];
  EXPECT_EQ(image.size(), kImageFileSize);
  std::ofstream(dir / "real.dcm", std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  EXPECT_TRUE(OpenImageFile(card, (dir / "real.dcm").string()));
  return true;
}

class RealCard : public ::testing::TestWithParam<std::string> {};

TEST_P(RealCard, LoadsListsAndChecks) {
  test::TempDir dir;
  CardImage card;
  if (!OpenRealCard(GetParam(), dir, card)) GTEST_SKIP() << "real card data not present";
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_GT(card.listed_count, 0);
  EXPECT_EQ(CheckCard(card), std::vector<std::string>{});
  int used = 0;
  for (int k = 0; k < card.listed_count; ++k) used += card.records[card.list_order[k]].size;
  EXPECT_EQ(card.free_blocks, UserBlockCount(card) - used);
}

INSTANTIATE_TEST_SUITE_P(SharedData, RealCard,
                         ::testing::Values("fuse-vmu/vmu_a.bin", "fuse-vmu/vmu_b.bin",
                                           "fuse-vmu/example_vmu.bin",
                                           "dreampotato/ReadFiles_01.vmu"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(RealCardContents, ReadFilesCardHoldsItsSevenFiles) {
  test::TempDir dir;
  CardImage card;
  if (!OpenRealCard("dreampotato/ReadFiles_01.vmu", dir, card)) {
    GTEST_SKIP() << "real card data not present";
  }
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(card.listed_count, 7);
  int games = 0, logos = 0;
  for (int k = 0; k < card.listed_count; ++k) {
    const SaveRecord& save = card.records[card.list_order[k]];
    if (save.header_in_second_block) {
      ++games;
      EXPECT_EQ(save.size, 67);
      EXPECT_EQ(save.icon_count, 2);
    }
    if (save.name == "ICONDATA_VMS") {
      ++logos;
      EXPECT_EQ(save.description, "VMU CAPTION LOGO");
    }
  }
  EXPECT_EQ(games, 1);
  EXPECT_EQ(logos, 1);
}

}  // namespace
}  // namespace quorvel
