// The consistency check finds each kind of damage, and real cards load, list and check.
#include "card/card_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "card/block_io.h"
#include "card/card_fixture.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "card/work_files.h"

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
  root.Logical(255)[0x48] = 2;
  EXPECT_TRUE(Mentions(Check(root), "root: FAT size is 2, expected 1"));
}

// Every kind of finding word for word, as the window and quorvel-cli show it: the save's
// label with its name's unprintable bytes as '.', the numbers, the FAT values in hex, and a
// save's findings in the order the check makes them.
TEST(CheckCard, EachFindingReadsInFull) {
  struct Case {
    const char* what;
    std::function<void(CardBuilder&)> build;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"cross-linked",
       [](CardBuilder& b) {
         b.AddSave(0, "A", {10, 11});
         b.AddSave(1, "B", {12, 11});
       },
       {"save 1 (B...........): block 11 is cross-linked with save 0 (A...........)"}},
      {"bad FAT value",
       [](CardBuilder& b) {
         b.AddSave(0, "ODD", {10});
         b.SetFat(10, 0x1234);
       },
       {"save 0 (ODD.........): chain block 10 holds the FAT value 0x1234"}},
      {"system block",
       [](CardBuilder& b) {
         b.AddSave(0, "TOSYS", {10});
         b.SetFat(10, 250);
       },
       {"save 0 (TOSYS.......): chain runs into system block 250"}},
      {"loop",
       [](CardBuilder& b) {
         b.AddSave(0, "LOOP", {10, 11, 12});
         b.SetFat(12, 10);
       },
       {"save 0 (LOOP........): chain loops back to block 10"}},
      {"free block",
       [](CardBuilder& b) {
         b.AddSave(0, "TOFREE", {10, 11});
         b.SetFat(11, 0xFFFC);
       },
       {"save 0 (TOFREE......): chain runs into free block 11",
        "save 0 (TOFREE......): chain has 1 blocks, directory says 2"}},
      {"above the user blocks",
       [](CardBuilder& b) { b.AddSave(0, "HIGH", {220}); },
       {"save 0 (HIGH........): block 220 lies above the user blocks"}},
      {"game not at block 0",
       [](CardBuilder& b) {
         b.AddSave(0, "GAME", {5, 6}, /*game=*/true);
         b.Entry(0)[0x02] = 5;
       },
       {"save 0 (GAME........): a game must start at block 0, not 5"}},
      {"entry fields",
       [](CardBuilder& b) {
         b.AddSave(0, "ODD", {199, 198});
         b.Entry(0)[0x00] = 0x0A;
         b.Entry(0)[0x03] = 0xFF;
         b.Entry(0)[0x19] = 0x01;
         b.Entry(0)[0x1A] = 3;
       },
       {"save 0 (ODD.........): type 0x0A is neither data (0x33) nor game (0xCC)",
        "save 0 (ODD.........): first block 65479 is not a block of the card",
        "save 0 (ODD.........): size 258 blocks is more than a card holds (this program reads 2)",
        "save 0 (ODD.........): header offset 3 lies beyond the save's 2 blocks"}},
      {"lost blocks",
       [](CardBuilder& b) {
         b.SetFat(30, 0xFFFA);
         b.SetFat(220, 0x0000);
       },
       {"FAT: block 30 is in use but belongs to no save",
        "FAT: 1 block outside the user blocks (200 to 240) not marked free; the console ignores "
        "them"}},
      {"directory chain",
       [](CardBuilder& b) {
         b.SetFat(250, 100);
         b.SetFat(245, 0xFFFC);
         b.SetFat(243, 0xFFFA);
       },
       {"FAT: directory block 250 links to user block 100: the directory chain runs into the "
        "saves' blocks",
        "FAT: directory block 245 is marked free",
        "FAT: directory block 243 links to 0xFFFA, expected 0x00F2"}},
      {"root",
       [](CardBuilder& b) { b.Logical(255)[0x4A] = 252; },
       {"root: directory location is 252, expected 253"}},
      {"system chain rebuilt",
       [](CardBuilder& b) { b.SetFat(254, 0x0000); },
       {"FAT: the root and FAT blocks are not marked as chain ends; the directory chain 253 ... "
        "241 was rebuilt in memory"}},
      {"oversized directory",
       [](CardBuilder& b) {
         b.AddSave(0, "BIG", {199});
         b.Entry(0)[0x18] = 250;
       },
       {"save 0 (BIG.........): chain has 1 blocks, directory says 250",
        "directory: the saves occupy 250 blocks, more than the 200 user blocks, so the card "
        "shows 0 blocks free"}},
      {"unformatted",
       [](CardBuilder& b) { b.Logical(255)[0x50] = 0; },
       {"the card is not formatted (its root block gives 0 user blocks)"}},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CardBuilder builder;
    c.build(builder);
    CardImage card;
    test::OpenBuilt(card, builder, dir);
    LoadCard(card);
    std::vector<std::string> texts;
    for (const CardFinding& finding : InspectCard(card)) texts.push_back(finding.text);
    EXPECT_EQ(texts, c.texts);
    CloseImageFile(card);
  }
}

// The list of problems and the first reason writes are unsafe are the full findings seen
// through a filter (notes left out; the first unsafe finding): the same texts in the same order,
// and a save's findings all name it the same way.
TEST(CheckCard, ProblemsAndTheUnsafeReasonAreTheFindingsFiltered) {
  CardBuilder problems_only;
  problems_only.AddSave(0, "ODD", {199, 198});
  problems_only.Entry(0)[0x00] = 0x00;  // a type no card may hold
  problems_only.SetFat(150, 0xFFFA);    // lost
  for (int block = 200; block <= 240; ++block) problems_only.SetFat(block, 0x0000);  // note

  CardBuilder unsafe = problems_only;
  unsafe.AddSave(1, "LOOP\x01", {197, 196});
  unsafe.Entry(1)[0x00] = 0x00;
  unsafe.AddSave(2, "CROSS", {195, 197});  // cross-linked with save 1
  unsafe.SetFat(197, 196);
  unsafe.SetFat(196, 197);     // save 1 loops back
  unsafe.SetFat(245, 0xFFFC);  // directory block marked free

  test::TempDir dir;
  for (const CardBuilder* builder : {&problems_only, &unsafe}) {
    CardImage card;
    test::OpenBuilt(card, *builder, dir);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    const std::vector<CardFinding> all = InspectCard(card);
    std::vector<std::string> problems;
    std::optional<std::string> first_unsafe;
    for (const CardFinding& finding : all) {
      if (finding.kind != CardFinding::Kind::kNote) problems.push_back(finding.text);
      if (finding.kind == CardFinding::Kind::kUnsafe && !first_unsafe) first_unsafe = finding.text;
    }
    EXPECT_EQ(CheckCard(card), problems);
    EXPECT_EQ(UnsafeStructure(card), first_unsafe);
    EXPECT_EQ(problems.size() + 1, all.size());  // one note
    CloseImageFile(card);
  }

  CardImage card;
  test::OpenBuilt(card, unsafe, dir);
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  const std::vector<std::string> problems = CheckCard(card);
  EXPECT_EQ(UnsafeStructure(card), "FAT: directory block 245 is marked free");
  int loop_findings = 0;
  for (const std::string& problem : problems) {
    if (problem.rfind("save 1 (", 0) == 0) {
      EXPECT_EQ(problem.rfind("save 1 (LOOP.", 0), 0u) << problem;
      ++loop_findings;
    }
  }
  EXPECT_EQ(loop_findings, 2);  // its type and its loop
  EXPECT_TRUE(Mentions(problems, "save 2 (CROSS") &&
              Mentions(problems, "is cross-linked with save 1 (LOOP."));
  EXPECT_TRUE(Mentions(problems, "save 0 (ODD"));
}

// Some tools format the blocks between the user blocks and the directory as 0x0000; the
// console ignores them, and so does the check but for one note.
TEST(CheckCard, BlocksOutsideTheUserBlocksAreANoteNotAProblem) {
  CardBuilder builder(200);
  builder.AddSave(0, "KEPT", {199, 198});
  for (int block = 200; block <= 240; ++block) builder.SetFat(block, 0x0000);
  test::TempDir dir;
  CardImage card;
  test::OpenBuilt(card, builder, dir);
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(CheckCard(card), std::vector<std::string>{});
  const std::vector<CardFinding> found = InspectCard(card);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].kind, CardFinding::Kind::kNote);
  EXPECT_NE(found[0].text.find("41 blocks outside the user blocks (200 to 240)"), std::string::npos)
      << found[0].text;
  EXPECT_FALSE(UnsafeStructure(card));
  // A block below the user-block count that no save claims is still a problem.
  builder.SetFat(150, 0x0000);
  EXPECT_EQ(Check(builder),
            std::vector<std::string>{"FAT: block 150 is in use but belongs to no save"});
}

// Directory entries the card cannot hold as they stand are reported, not "no problems".
TEST(CheckCard, EntriesTheCardCannotHoldAreReported) {
  struct Case {
    std::size_t offset;
    std::uint8_t value;
    const char* words;
  } cases[] = {
      {0x00, 0x00, "type 0x00 is neither data (0x33) nor game (0xCC)"},
      {0x03, 0xFF, "first block 65479 is not a block of the card"},
      {0x19, 0x01, "size 258 blocks is more than a card holds (this program reads 2)"},
      {0x1A, 3, "header offset 3 lies beyond the save's 2 blocks"},
  };
  for (const Case& c : cases) {
    CardBuilder builder;
    builder.AddSave(0, "ODD", {199, 198});
    builder.Entry(0)[c.offset] = c.value;
    EXPECT_TRUE(Mentions(Check(builder), c.words)) << c.words;
  }
  // A header offset equal to the size, as some save tools write it, is no problem.
  CardBuilder tool;
  tool.AddSave(0, "TOOL", {199, 198});
  tool.Entry(0)[0x1A] = 2;
  EXPECT_EQ(Check(tool), std::vector<std::string>{});
}

// Sizes that add up to more than the user blocks: 0 free (never a wrapped count), and the
// check says why.
TEST(CheckCard, OversizedDirectoryShowsNoFreeBlocks) {
  CardBuilder builder(200);
  builder.AddSave(0, "BIG", {199});
  builder.Entry(0)[0x18] = 250;
  test::TempDir dir;
  CardImage card;
  test::OpenBuilt(card, builder, dir);
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(card.free_blocks, 0);
  EXPECT_EQ(UpdateListing(card), 0);
  EXPECT_TRUE(Mentions(CheckCard(card), "so the card shows 0 blocks free"));
}

// Images that hold no formatted card load as unformatted, whatever their FAT says.
TEST(CheckCard, ImagesThatAreNotAFormattedCardLoadAsUnformatted) {
  std::vector<std::pair<std::string, CardBuilder>> cards;
  cards.emplace_back("all zeros", CardBuilder(0));
  for (int block = 0; block < 256; ++block) cards.back().second.Logical(block).fill(0);
  cards.emplace_back("no format marker", CardBuilder(200));
  cards.back().second.Logical(255)[3] = 0x54;
  cards.emplace_back("250 user blocks", CardBuilder(250));
  cards.emplace_back("no user blocks", CardBuilder(0));
  CardBuilder random;
  std::uint32_t seed = 99;
  for (int block = 0; block < 256; ++block) {
    for (auto& byte : random.Logical(block)) {
      seed = seed * 1103515245u + 12345u;
      byte = static_cast<std::uint8_t>(seed >> 16);
    }
  }
  cards.emplace_back("random bytes", random);
  test::TempDir dir;
  for (const auto& [what, builder] : cards) {
    CardImage card;
    test::OpenBuilt(card, builder, dir, "card.dcm");
    EXPECT_EQ(LoadCard(card), LoadResult::kUnformatted) << what;
    EXPECT_EQ(card.listed_count, 0) << what;
    EXPECT_FALSE(UnformattedReason(card).empty()) << what;
    CloseImageFile(card);
  }
}

// Damage that makes any write unsafe: every write is refused before it touches the card, and
// the card can still be read, exported and formatted.
TEST(DamagedCards, UnsafeStructureRefusesEveryWriteAndChangesNothing) {
  struct Case {
    const char* what;
    std::function<void(CardBuilder&)> damage;
  };
  const Case cases[] = {
      {"cross-linked with save 0", [](CardBuilder& b) { b.SetFat(196, 198); }},
      {"directory block 250 links to user block 100", [](CardBuilder& b) { b.SetFat(250, 100); }},
      {"directory block 245 is marked free", [](CardBuilder& b) { b.SetFat(245, 0xFFFC); }},
      {"root: directory size is 20", [](CardBuilder& b) { b.Logical(255)[0x4C] = 20; }},
      {"root: FAT location is 10", [](CardBuilder& b) { b.Logical(255)[0x46] = 10; }},
      {"chain runs into free block 197", [](CardBuilder& b) { b.SetFat(197, 0xFFFC); }},
  };
  test::TempDir dir;
  CardImage source;
  CardBuilder other;
  other.AddSave(0, "OTHER", {150});
  test::OpenBuilt(source, other, dir, "source.dcm");
  ASSERT_EQ(LoadCard(source), LoadResult::kLoaded);
  std::vector<std::uint8_t> dci;
  ASSERT_EQ(BuildDci(source, 0, dci), DciExportError::kNone);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CardBuilder builder;
    builder.AddSave(0, "FIRST", {199, 198});
    builder.AddSave(1, "SECOND", {197, 196});
    c.damage(builder);
    CardImage card;
    test::OpenBuilt(card, builder, dir, "damaged.dcm");
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    const std::optional<std::string> fault = UnsafeStructure(card);
    ASSERT_TRUE(fault);
    EXPECT_NE(fault->find(c.what), std::string::npos) << *fault;
    const std::vector<std::uint8_t> before = test::ReadFile(dir / "damaged.dcm");
    EXPECT_FALSE(DeleteSave(card, 0));
    EXPECT_FALSE(DeleteSave(card, 1));
    EXPECT_EQ(ImportDciBytes(card, dci).placement, TransferError::kUnsafeCard);
    EXPECT_EQ(CopySave(source, 0, card), TransferError::kUnsafeCard);
    // Full as well, the card is refused for its damage, not for want of room.
    const std::uint8_t free_blocks = card.free_blocks;
    card.free_blocks = 0;
    EXPECT_EQ(ImportDciBytes(card, dci).placement, TransferError::kUnsafeCard);
    EXPECT_EQ(CopySave(source, 0, card), TransferError::kUnsafeCard);
    card.free_blocks = free_blocks;
    Placement unused;
    EXPECT_EQ(PlanReplacement(card, 0, 1, false, unused), TransferError::kUnsafeCard);
    ASSERT_TRUE(ReplaceFileContents(dir / "edit.bin", std::vector<std::uint8_t>(1024, 0xAB)));
    EXPECT_FALSE(ImportSaveData(card, 0, (dir / "edit.bin").string()));
    EXPECT_EQ(test::ReadFile(dir / "damaged.dcm"), before);
    // Reading still works, and so does the way out: formatting.
    std::vector<std::uint8_t> exported;
    EXPECT_EQ(BuildDci(card, 0, exported), DciExportError::kNone);
    EXPECT_TRUE(FormatCard(card, 200));
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    EXPECT_FALSE(UnsafeStructure(card));
    CloseImageFile(card);
  }
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
        // The copy keeps the source's entry as it is, odd fields and all: those are reported,
        // nothing else may be.
        std::vector<std::string> problems = CheckCard(empty);
        std::erase_if(problems, [&](const std::string& problem) {
          for (const SaveRecord& save : empty.records) {
            for (const EntryFinding& odd : CheckEntryFields(save.entry)) {
              if (save.size != 0 && problem.ends_with(odd.text)) return true;
            }
          }
          return false;
        });
        EXPECT_EQ(problems, std::vector<std::string>{});
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
