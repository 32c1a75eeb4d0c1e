// VMS/VMI pairs: the VMI layout, telling a game from data, round trips through a card, and
// every kind of bad pair refused before a card is touched.
#include "card/vms_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "card/block_io.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/save_commands.h"
#include "card/save_texts.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

const std::filesystem::path kRealData = QUORVEL_REALDATA_DIR;

VmiInfo SampleVmi() {
  VmiInfo info;
  info.description = "A long description";
  info.copyright = "(C) nobody";
  info.year = 2001;
  info.month = 12;
  info.day = 31;
  info.hour = 23;
  info.minute = 59;
  info.second = 58;
  info.weekday = 1;  // Monday
  info.resource = "SAVE01";
  info.name = "SAVE_NAME_01";
  info.game = false;
  info.copy_protected = true;
  info.file_size = 3 * 512;
  return info;
}

TEST(Vmi, LayoutChecksumAndRoundTrip) {
  const auto bytes = BuildVmi(SampleVmi());
  // Checksum: "SAVE" AND "SEGA".
  EXPECT_EQ(bytes[0], 'S' & 'S');
  EXPECT_EQ(bytes[1], 'A' & 'E');
  EXPECT_EQ(bytes[2], 'V' & 'G');
  EXPECT_EQ(bytes[3], 'E' & 'A');
  EXPECT_EQ(bytes[0x04], 'A');
  EXPECT_EQ(bytes[0x24], '(');
  EXPECT_EQ(bytes[0x44], 2001 & 0xFF);
  EXPECT_EQ(bytes[0x45], 2001 >> 8);
  EXPECT_EQ(bytes[0x46], 12);
  EXPECT_EQ(bytes[0x4B], 1);
  EXPECT_EQ(bytes[0x4E], 1);  // file number
  EXPECT_EQ(std::string(bytes.begin() + 0x50, bytes.begin() + 0x58), std::string("SAVE01\0\0", 8));
  EXPECT_EQ(std::string(bytes.begin() + 0x58, bytes.begin() + 0x64), "SAVE_NAME_01");
  EXPECT_EQ(bytes[0x64], 0x01);  // copy protected, data
  EXPECT_EQ(bytes[0x68], 0x00);
  EXPECT_EQ(bytes[0x69], 0x06);  // 1536 bytes
  VmsError error = VmsError::kNone;
  const std::optional<VmiInfo> back = ParseVmi(bytes, error);
  ASSERT_TRUE(back) << Describe(error);
  EXPECT_EQ(back->year, 2001);
  EXPECT_EQ(back->second, 58);
  EXPECT_EQ(back->name, "SAVE_NAME_01");
  EXPECT_TRUE(back->copy_protected);
  EXPECT_FALSE(back->game);
  EXPECT_EQ(back->file_size, 1536u);
}

TEST(Vmi, RefusesWrongSizeAndChecksum) {
  const auto bytes = BuildVmi(SampleVmi());
  VmsError error = VmsError::kNone;
  EXPECT_FALSE(ParseVmi(std::span(bytes).first(107), error));
  EXPECT_EQ(error, VmsError::kVmiSize);
  std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
  longer.push_back(0);
  EXPECT_FALSE(ParseVmi(longer, error));
  EXPECT_EQ(error, VmsError::kVmiSize);
  auto wrong = bytes;
  wrong[0] ^= 0x01;
  EXPECT_FALSE(ParseVmi(wrong, error));
  EXPECT_EQ(error, VmsError::kVmiChecksum);
}

std::vector<std::uint8_t> Blocks(int count, std::uint8_t fill) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(count) * 512, fill);
}

// A save header at `block` of `vms` (logical order): text, one icon, no eyecatch.
void PutHeader(std::vector<std::uint8_t>& vms, int block) {
  std::fill_n(vms.begin() + block * 512, 0x30, 'A');
  vms[block * 512 + 0x40] = 1;
  vms[block * 512 + 0x41] = 0;
  vms[block * 512 + 0x44] = 0;
  vms[block * 512 + 0x45] = 0;
}

TEST(RecogniseVmsKind, ByWhereTheHeaderIs) {
  std::vector<std::uint8_t> data = Blocks(3, 0xFF);
  PutHeader(data, 0);
  EXPECT_EQ(RecogniseVmsKind(data), VmsKind::kData);
  std::vector<std::uint8_t> game = Blocks(3, 0xFF);
  PutHeader(game, 1);
  EXPECT_EQ(RecogniseVmsKind(game), VmsKind::kGame);
  std::vector<std::uint8_t> one = Blocks(1, 0xFF);
  EXPECT_EQ(RecogniseVmsKind(one), VmsKind::kData);  // a game needs its header in block 1
  std::vector<std::uint8_t> both = Blocks(2, 0xFF);
  PutHeader(both, 0);
  PutHeader(both, 1);
  EXPECT_EQ(RecogniseVmsKind(both), VmsKind::kUnclear);
  both[5] = 0x06;  // code in block 0, where a data save has its text
  EXPECT_EQ(RecogniseVmsKind(both), VmsKind::kGame);
  EXPECT_EQ(RecogniseVmsKind(Blocks(2, 0xFF)), VmsKind::kUnclear);
}

TEST(RecogniseVmsKind, RealMiniGamesAreGames) {
  if (!std::filesystem::exists(kRealData)) GTEST_SKIP() << "no real card data";
  for (const char* name :
       {"dreampotato/tetris.vms", "dreampotato/helloworld.vms", "racketball/racketball.vms"}) {
    EXPECT_EQ(RecogniseVmsKind(test::ReadFile(kRealData / name)), VmsKind::kGame) << name;
  }
}

class VmsPairs : public ::testing::Test {
 public:
  void OpenEmpty(CardImage& card, const std::string& name) {
    test::OpenBuilt(card, test::CardBuilder(200), dir, name);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  void Put(const std::string& name, std::span<const std::uint8_t> bytes) {
    ASSERT_TRUE(ReplaceFileContents(dir / name, bytes));
  }
  std::filesystem::path P(const std::string& name) { return dir / name; }
  // A 3-block VMS with its header at block 0 and the VMI for it, as "SAVE01.VMS/.VMI".
  void PutPair(VmiInfo info = SampleVmi()) {
    std::vector<std::uint8_t> vms = Blocks(3, 0x5A);
    PutHeader(vms, 0);
    Put("SAVE01.VMS", vms);
    Put("SAVE01.VMI", BuildVmi(info));
  }
  test::TempDir dir;
};

// Export to a pair and import into an empty card: the same blocks, name, kind, date and copy
// protection, for a data save and for a game at block 0.
TEST_F(VmsPairs, RoundTripThroughAnEmptyCardKeepsTheSave) {
  test::CardBuilder builder(200);
  builder.AddSave(0, "DATA_SAVE_01", {199, 198, 197}, false, 1, "Data save");
  builder.AddSave(1, "MINIGAME", {0, 1, 2, 3}, true, 1, "A game");
  builder.Entry(0)[1] = 0xFF;                                                     // copy protected
  const std::uint8_t stamp[] = {0x19, 0x99, 0x12, 0x31, 0x23, 0x59, 0x58, 0x04};  // a Friday
  std::copy(stamp, stamp + 8, builder.Entry(0) + 0x10);
  CardImage card;
  test::OpenBuilt(card, builder, dir, "from.dcm");
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  CardImage empty;
  OpenEmpty(empty, "to.dcm");
  for (std::size_t slot : {0u, 1u}) {
    const std::string base = slot == 0 ? "data" : "game";
    ASSERT_TRUE(ExportSaveFile(card, slot, P(base + ".vms")).Written()) << slot;
    ASSERT_TRUE(std::filesystem::exists(P(base + ".vmi")));
    const SaveFileBytes read = ReadSaveFile(P(base + ".vmi"));
    ASSERT_EQ(read.vms_error, VmsError::kNone) << Describe(read.vms_error);
    ASSERT_TRUE(ImportSaveCommand(empty, read.bytes, FixedAnswers(false)).Stored());
  }
  ASSERT_EQ(LoadCard(empty), LoadResult::kLoaded);
  for (std::size_t slot : {0u, 1u}) {
    const SaveRecord& from = card.records[slot];
    const std::optional<std::size_t> to = FindSaveByName(empty, from.name);
    ASSERT_TRUE(to) << from.name;
    const SaveRecord& copy = empty.records[*to];
    EXPECT_EQ(copy.header_in_second_block, from.header_in_second_block) << from.name;
    EXPECT_EQ(copy.date, from.date);
    EXPECT_EQ(copy.time, from.time);
    EXPECT_EQ(copy.size, from.size);
    EXPECT_EQ(copy.description, from.description);
    EXPECT_EQ(copy.entry[1], from.entry[1]);
    EXPECT_EQ(copy.entry[0x17], from.entry[0x17]) << "day of week";
    std::vector<std::uint8_t> a, b;
    ASSERT_EQ(BuildDci(card, slot, a), DciExportError::kNone);
    ASSERT_EQ(BuildDci(empty, *to, b), DciExportError::kNone);
    EXPECT_TRUE(std::equal(a.begin() + 32, a.end(), b.begin() + 32, b.end())) << from.name;
  }
  EXPECT_EQ(empty.records[*FindSaveByName(empty, card.records[1].name)].first_block, 0);
}

TEST_F(VmsPairs, TetrisAloneImportsAsAGameAtBlockZero) {
  if (!std::filesystem::exists(kRealData)) GTEST_SKIP() << "no real card data";
  std::filesystem::copy_file(kRealData / "dreampotato/tetris.vms", P("tetris.vms"));
  const SaveFileBytes read = ReadSaveFile(P("tetris.vms"));
  ASSERT_EQ(read.vms_error, VmsError::kNone) << Describe(read.vms_error);
  CardImage card;
  OpenEmpty(card, "card.dcm");
  ASSERT_TRUE(ImportSaveCommand(card, read.bytes, FixedAnswers(false)).Stored());
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  const SaveRecord& game = card.records[card.list_order[0]];
  EXPECT_EQ(game.name, std::string("TETRIS\0\0\0\0\0\0", 12));
  EXPECT_TRUE(game.header_in_second_block);
  EXPECT_EQ(game.first_block, 0);
  EXPECT_EQ(game.size, 7);
  EXPECT_EQ(TrimPadding(game.description), "Tiny Tetris     Mini VMU Tetris by marcus");
  // The blocks are the file's, in the card's order.
  const std::vector<std::uint8_t> vms = test::ReadFile(P("tetris.vms"));
  for (int b = 0; b < 7; ++b) {
    Block block;
    ASSERT_TRUE(ReadBlock(card, static_cast<std::uint8_t>(b), block));
    ReverseGroups(block);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), vms.begin() + b * 512)) << b;
  }
}

TEST_F(VmsPairs, LoneVmsAsksForWhatTheVmiWouldHaveSaid) {
  std::vector<std::uint8_t> unclear = Blocks(2, 0xFF);
  Put("mystery.vms", unclear);
  EXPECT_EQ(ReadSaveFile(P("mystery.vms")).vms_error, VmsError::kKindUnclear);
  VmsQuestions questions;
  std::string offered;
  questions.game = [] { return std::optional<bool>(false); };
  questions.name = [&](const std::string& suggested) {
    offered = suggested;
    return std::optional<std::string>("MY_DATA");
  };
  const SaveFileBytes read = ReadSaveFile(P("mystery.vms"), questions);
  ASSERT_EQ(read.vms_error, VmsError::kNone);
  EXPECT_EQ(offered, "MYSTERY");
  EXPECT_EQ(read.bytes[0], 0x33);
  EXPECT_EQ(std::string(read.bytes.begin() + 4, read.bytes.begin() + 16),
            std::string("MY_DATA\0\0\0\0\0", 12));
  questions.name = [](const std::string&) { return std::optional<std::string>("THIRTEEN_LONG"); };
  EXPECT_EQ(ReadSaveFile(P("mystery.vms"), questions).vms_error, VmsError::kBadName);
  questions.game = [] { return std::optional<bool>(); };
  EXPECT_EQ(ReadSaveFile(P("mystery.vms"), questions).vms_error, VmsError::kCancelled);
}

// Bad pairs: each refused with the file it is about, before any card is touched.
TEST_F(VmsPairs, BadPairsAreRefusedNamingTheFile) {
  struct Case {
    const char* what;
    std::function<void(VmsPairs&)> make;
    const char* open;
    VmsError error;
    const char* culprit;
  };
  const Case cases[] = {
      {"truncated VMS", [](VmsPairs& t) { t.Put("SAVE01.VMS", Blocks(2, 1)); }, "SAVE01.VMI",
       VmsError::kSizeMismatch, "SAVE01.VMI"},
      {"VMS not whole blocks",
       [](VmsPairs& t) {
         auto vms = Blocks(3, 1);
         vms.pop_back();
         t.Put("SAVE01.VMS", vms);
       },
       "SAVE01.VMS", VmsError::kVmsSize, "SAVE01.VMS"},
      {"oversized VMS", [](VmsPairs& t) { t.Put("SAVE01.VMS", Blocks(256, 1)); }, "SAVE01.VMI",
       VmsError::kVmsSize, "SAVE01.VMS"},
      {"short VMI",
       [](VmsPairs& t) {
         const auto vmi = BuildVmi(SampleVmi());
         t.Put("SAVE01.VMI", std::span(vmi).first(100));
       },
       "SAVE01.VMS", VmsError::kVmiSize, "SAVE01.VMI"},
      {"VMI naming another VMS",
       [](VmsPairs& t) {
         VmiInfo other = SampleVmi();
         other.resource = "OTHER";
         t.Put("SAVE01.VMI", BuildVmi(other));
       },
       "SAVE01.VMS", VmsError::kNameMismatch, "SAVE01.VMI"},
      {"missing VMS", [](VmsPairs& t) { std::filesystem::remove(t.P("SAVE01.VMS")); }, "SAVE01.VMI",
       VmsError::kVmsMissing, "SAVE01.VMS"},
      {"not a VMI",
       [](VmsPairs& t) {
         auto bytes = BuildVmi(SampleVmi());
         bytes[1] = 0xFF;
         t.Put("SAVE01.VMI", bytes);
       },
       "SAVE01.VMI", VmsError::kVmiChecksum, "SAVE01.VMI"},
  };
  for (const Case& c : cases) {
    PutPair();
    ASSERT_EQ(ReadSaveFile(P("SAVE01.VMI")).vms_error, VmsError::kNone) << c.what;
    c.make(*this);
    const SaveFileBytes read = ReadSaveFile(P(c.open));
    EXPECT_EQ(read.vms_error, c.error) << c.what;
    EXPECT_EQ(read.culprit.filename(), c.culprit) << c.what;
    EXPECT_NE(read.status, DciImportResult::File::kOk) << c.what;
    EXPECT_TRUE(read.bytes.empty()) << c.what;
  }
}

TEST_F(VmsPairs, ExportPathsAreSafeAndNeverTaken) {
  EXPECT_EQ(ExportPathFor(dir.path(), "A/B:C*\x83\x5A", SaveFileFormat::kDci).filename(),
            "A_B_C__Z.DCI");
  EXPECT_EQ(ExportPathFor(dir.path(), std::string("..\0\0", 4), SaveFileFormat::kDci).filename(),
            "SAVE.DCI");
  EXPECT_EQ(ExportPathFor(dir.path(), "SONICADV_INT", SaveFileFormat::kVms).filename(),
            "SONICADV.VMS");
  Put("SONICADV.VMI", Blocks(1, 0));  // the VMI of the pair alone takes the name
  std::filesystem::path first;
  EXPECT_EQ(ExportPathFor(dir.path(), "SONICADV_INT", SaveFileFormat::kVms, &first).filename(),
            "SONICA_2.VMS");
  EXPECT_EQ(first.filename(), "SONICADV.VMS");
  Put("EVO.DCI", Blocks(1, 0));
  Put("EVO_2.DCI", Blocks(1, 0));
  EXPECT_EQ(ExportPathFor(dir.path(), "EVO", SaveFileFormat::kDci).filename(), "EVO_3.DCI");
  // A VMS whose base name cannot be a VMI's resource name is refused before anything is read.
  CardImage card;
  test::CardBuilder builder;
  builder.AddSave(0, "X", {199});
  test::OpenBuilt(card, builder, dir, "x.dcm");
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(ExportSaveFile(card, 0, P("NINECHARS.VMS")).pair, VmsError::kResourceName);
  EXPECT_FALSE(std::filesystem::exists(P("NINECHARS.VMS")));
}

}  // namespace
}  // namespace quorvel
