// quorvel-cli list, check, copy, delete and format, run end to end on image files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "card/card_fixture.h"
#include "support/cli_run.h"

#ifdef QUORVEL_CLI_PATH

namespace quorvel {
namespace {

using test::CardBuilder;

class CliCardCommands : public ::testing::Test {
 protected:
  testing::CliRun Cli(const std::string& arguments) {
    // Run from the test's folder, whose configuration sets no link delays.
    dir_text();
    return testing::RunCli(dir.path(), arguments);
  }
  std::string Path(const std::string& name) { return (dir / name).string(); }
  std::string dir_text() {
    if (!std::filesystem::exists(dir / "DID2.cfg")) {
      std::ofstream(dir / "DID2.cfg") << "888\r\n0\r\n0\r\n0\r\n9216\r\n0\r\n1\r\n";
    }
    return Path("");
  }
  std::string Write(const CardBuilder& builder, const std::string& name) {
    builder.WriteTo(dir / name);
    return Path(name);
  }
  void ExpectClean(const std::string& path) {
    testing::CliRun check = Cli("check " + path);
    EXPECT_EQ(check.status, 0) << check.out;
  }
  test::TempDir dir;
};

CardBuilder ThreeSaves() {
  CardBuilder builder(200);
  std::vector<std::uint8_t> small, mid, big;
  for (int b = 0; b < 3; ++b) small.push_back(static_cast<std::uint8_t>(199 - b));
  for (int b = 0; b < 10; ++b) mid.push_back(static_cast<std::uint8_t>(196 - b));
  for (int b = 0; b < 128; ++b) big.push_back(static_cast<std::uint8_t>(186 - b));
  builder.AddSave(0, "SMALL", small, false, 1, "Small save");
  builder.AddSave(1, "MIDDLE", mid, false, 2, "Middle save");
  builder.AddSave(2, "BIG", big, false, 3, "Big save");
  const std::uint8_t stamp[] = {0x19, 0x99, 0x12, 0x31, 0x23, 0x59, 0x58, 0x05};
  std::copy(stamp, stamp + 8, builder.Entry(0) + 0x10);
  return builder;
}

TEST_F(CliCardCommands, ListJsonReportsFiftyNineFreeBlocks) {
  const std::string card = Write(ThreeSaves(), "three.dcm");
  testing::CliRun run = Cli("list " + card + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      run.out.rfind("{\"user_blocks\":200,\"free_blocks\":59,\"formatted\":true,\"saves\":[", 0),
      0u)
      << run.out;
  const std::string first =
      "{\"slot\":0,\"name\":\"SMALL\",\"name_raw\":\"534D414C4C00000000000000\","
      "\"kind\":\"data\",\"first_block\":199,\"blocks\":3,\"date\":\"1999/12/31\","
      "\"time\":\"23:59:58\",\"description_vmu\":\"Small save\",\"description\":\"\","
      "\"icons\":1}";
  EXPECT_NE(run.out.find(first), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"slot\":2,\"name\":\"BIG"), std::string::npos);
  EXPECT_NE(run.out.find("\"blocks\":128"), std::string::npos);
  testing::CliRun table = Cli("list " + card);
  EXPECT_NE(table.out.find("200 user blocks, 59 free, 3 saves"), std::string::npos) << table.out;
}

TEST_F(CliCardCommands, JsonTextsMapEachByteToItsUnicodeCharacter) {
  CardBuilder builder;
  builder.AddSave(0, "CAF\xC9\"\\", {199}, false, 1, "x");
  builder.Logical(199)[1] = 0x7F;  // shown as a blank in the description
  testing::CliRun run = Cli("list " + Write(builder, "bytes.dcm") + " --json");
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(
      run.out.find("\"name\":\"CAF\xC3\x89\\\"\\\\\",\"name_raw\":\"434146C9225C000000000000\""),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"description_vmu\":\"x\","), std::string::npos) << run.out;
}

TEST_F(CliCardCommands, UnformattedCardListsAsSuchAndCanBeFormatted) {
  const std::string card = Path("erased.dcm");
  std::ofstream(card, std::ios::binary) << std::string(131072, '\xFF');
  testing::CliRun run = Cli("list " + card + " --json");
  EXPECT_EQ(run.out, "{\"user_blocks\":0,\"free_blocks\":0,\"formatted\":false,\"saves\":[]}\n");
  EXPECT_EQ(Cli("check " + card).status, 1);
  EXPECT_EQ(Cli("format " + card + " --blocks 199").status, 2);
  EXPECT_EQ(Cli("format " + card).status, 2);
  ASSERT_EQ(Cli("format " + card + " --blocks 241").status, 0);
  EXPECT_NE(Cli("list " + card + " --json").out.find("\"user_blocks\":241,\"free_blocks\":241"),
            std::string::npos);
  ExpectClean(card);
}

TEST_F(CliCardCommands, CopyRefusesAnExistingNameUnlessReplace) {
  const std::string from = Write(ThreeSaves(), "from.dcm");
  CardBuilder to_builder;
  to_builder.AddSave(5, "SMALL", {150});
  const std::string to = Write(to_builder, "to.dcm");

  const std::vector<std::uint8_t> before = test::ReadFile(dir / "to.dcm");
  testing::CliRun refused = Cli("copy " + from + " SMALL " + to);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(test::ReadFile(dir / "to.dcm"), before);
  EXPECT_NE(refused.err.find("already holds a save named SMALL"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--replace"), std::string::npos);

  ASSERT_EQ(Cli("copy " + from + " SMALL " + to + " --replace").status, 0);
  ExpectClean(to);
  testing::CliRun listed = Cli("list " + to + " --json");
  EXPECT_NE(listed.out.find("\"slot\":0,\"name\":\"SMALL"), std::string::npos) << listed.out;
  EXPECT_EQ(listed.out.find("\"slot\":5"), std::string::npos);
  EXPECT_NE(listed.out.find("\"free_blocks\":197"), std::string::npos);

  ASSERT_EQ(Cli("copy " + from + " '#2' " + to).status, 0);
  ExpectClean(to);
  testing::CliRun full = Cli("copy " + from + " MIDDLE " + to);
  EXPECT_EQ(full.status, 0) << full.err;
  testing::CliRun again = Cli("copy " + from + " BIG " + to + " --replace");
  EXPECT_EQ(again.status, 0) << again.err;
  ExpectClean(to);
  EXPECT_EQ(Cli("copy " + from + " SMALL " + from).status, 1);
}

TEST_F(CliCardCommands, CopyWithoutRoomSaysWhy) {
  const std::string from = Write(ThreeSaves(), "from.dcm");
  CardBuilder small_card(200);
  std::vector<std::uint8_t> filler;
  for (int b = 0; b < 195; ++b) filler.push_back(static_cast<std::uint8_t>(199 - b));
  small_card.AddSave(0, "FILLER", filler);
  const std::string to = Write(small_card, "to.dcm");
  testing::CliRun run = Cli("copy " + from + " MIDDLE " + to);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("needs more blocks than the target has free"), std::string::npos)
      << run.err;
  ExpectClean(to);
}

TEST_F(CliCardCommands, ReplaceThatCannotFitDeletesNothing) {
  CardBuilder from;
  std::vector<std::uint8_t> big;
  for (int b = 0; b < 150; ++b) big.push_back(static_cast<std::uint8_t>(199 - b));
  from.AddSave(0, "SAVE", big);
  CardBuilder to;
  to.AddSave(0, "SAVE", {199, 198});
  std::vector<std::uint8_t> filler;
  for (int b = 0; b < 100; ++b) filler.push_back(static_cast<std::uint8_t>(150 - b));
  to.AddSave(1, "FILLER", filler);
  const std::string to_path = Write(to, "to.dcm");
  const std::vector<std::uint8_t> before = test::ReadFile(dir / "to.dcm");
  testing::CliRun run = Cli("copy " + Write(from, "from.dcm") + " SAVE " + to_path + " --replace");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("copy refused"), std::string::npos) << run.err;
  EXPECT_EQ(test::ReadFile(dir / "to.dcm"), before);
}

// A replace whose save cannot be read whole from the source (its chain ends before its size)
// keeps the old save, whether the target had room for both or only once the old one is gone.
TEST_F(CliCardCommands, ReplaceByASaveThatCannotBeReadKeepsTheOldSave) {
  CardBuilder from;
  from.AddSave(0, "SAVE", {199, 198, 197});
  from.Entry(0)[0x18] = 4;  // four blocks named, three chained
  const std::string from_path = Write(from, "from.dcm");
  for (const bool room_for_both : {true, false}) {
    CardBuilder to;
    to.AddSave(0, "SAVE", {199, 198});
    std::vector<std::uint8_t> filler;
    for (int b = 0; b < (room_for_both ? 10 : 195); ++b) {
      filler.push_back(static_cast<std::uint8_t>(197 - b));
    }
    to.AddSave(1, "FILLER", filler);
    const std::string to_path = Write(to, "to.dcm");
    testing::CliRun run = Cli("copy " + from_path + " SAVE " + to_path + " --replace");
    EXPECT_EQ(run.status, 1) << room_for_both;
    EXPECT_NE(run.err.find("could not be read"), std::string::npos) << run.err;
    testing::CliRun listed = Cli("list " + to_path + " --json");
    EXPECT_NE(listed.out.find("\"name\":\"SAVE\","), std::string::npos)
        << room_for_both << listed.out;
    EXPECT_NE(listed.out.find("\"first_block\":199,\"blocks\":2"), std::string::npos) << listed.out;
    ExpectClean(to_path);
  }
}

TEST_F(CliCardCommands, DeleteByNameOrSlot) {
  const std::string card = Write(ThreeSaves(), "card.dcm");
  ASSERT_EQ(Cli("delete " + card + " MIDDLE").status, 0);
  ExpectClean(card);
  ASSERT_EQ(Cli("delete " + card + " '#2'").status, 0);
  ExpectClean(card);
  testing::CliRun missing = Cli("delete " + card + " '#2'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("no save in directory slot 2"), std::string::npos);
  EXPECT_EQ(Cli("delete " + card + " NOSUCH").status, 1);
  EXPECT_NE(Cli("list " + card + " --json").out.find("\"free_blocks\":197"), std::string::npos);
}

TEST_F(CliCardCommands, CheckReportsProblemsWithExitOne) {
  CardBuilder builder;
  builder.AddSave(0, "A", {10, 11});
  builder.AddSave(1, "B", {12, 11});
  testing::CliRun run = Cli("check " + Write(builder, "bad.dcm"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("cross-linked"), std::string::npos) << run.out;
}

// Cards formatted by emulators and save tools: blocks outside the user blocks marked 0x0000
// are a note, not a problem; every real card checks clean.
TEST_F(CliCardCommands, CheckPassesToolFormattedAndRealCards) {
  CardBuilder builder(200);
  builder.AddSave(0, "KEPT", {199, 198});
  for (int block = 200; block <= 240; ++block) builder.SetFat(block, 0x0000);
  testing::CliRun run = Cli("check " + Write(builder, "tool.dcm"));
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("note: FAT: 41 blocks outside the user blocks"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("no problems found"), std::string::npos);

  const std::filesystem::path real = QUORVEL_REALDATA_DIR;
  if (!std::filesystem::exists(real)) GTEST_SKIP() << "no real card data";
  for (const char* name : {"fuse-vmu/vmu_a.bin", "fuse-vmu/vmu_b.bin", "fuse-vmu/example_vmu.bin",
                           "dreampotato/ReadFiles_01.vmu"}) {
    // Raw cards are in the card's own byte order; an image reverses every group of four.
    const std::vector<std::uint8_t> raw = test::ReadFile(real / name);
    std::vector<std::uint8_t> image(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) image[i ^ 3] = raw[i];
    std::ofstream(dir / "real.dcm", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    testing::CliRun checked = Cli("check " + Path("real.dcm"));
    EXPECT_EQ(checked.status, 0) << name << ": " << checked.out;
  }
}

// Noise, zeros and a root with fields out of range are not a card: list fails and says why.
TEST_F(CliCardCommands, ListRefusesAnImageThatIsNotAFormattedCard) {
  std::string noise(131072, '\0');
  std::uint32_t seed = 7;
  for (char& c : noise) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  std::ofstream(Path("noise.dcm"), std::ios::binary) << noise;
  std::ofstream(Path("zeros.dcm"), std::ios::binary) << std::string(131072, '\0');
  Write(CardBuilder(250), "wide.dcm");
  for (const char* name : {"noise.dcm", "zeros.dcm", "wide.dcm"}) {
    testing::CliRun run = Cli("list " + Path(name));
    EXPECT_EQ(run.status, 1) << name << ": " << run.out;
    EXPECT_NE(run.err.find("not a formatted card ("), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << name;
    EXPECT_EQ(Cli("check " + Path(name)).status, 1);
  }
  testing::CliRun json = Cli("list " + Path("noise.dcm") + " --json");
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.out, "{\"user_blocks\":0,\"free_blocks\":0,\"formatted\":false,\"saves\":[]}\n");
}

// Names and descriptions reach a terminal without control bytes; JSON escapes them.
TEST_F(CliCardCommands, ListPrintsNoControlBytes) {
  CardBuilder builder;
  builder.AddSave(0,
                  "\x1B[2J\x9B"
                  "31m\x7F",
                  {199}, false, 1, "x");
  builder.Logical(199)[1] = 0x1F;  // kept by the record's description
  builder.Logical(199)[2] = 0x1B;
  const std::string card = Write(builder, "controls.dcm");
  testing::CliRun table = Cli("list " + card);
  ASSERT_EQ(table.status, 0) << table.err;
  for (std::size_t i = 0; i < table.out.size(); ++i) {
    const auto byte = static_cast<unsigned char>(table.out[i]);
    EXPECT_TRUE(byte >= 0x20 || byte == '\n') << "byte " << i << " is " << int{byte};
    EXPECT_NE(byte, 0x7F) << "byte " << i;
    if (byte == 0xC2 && i + 1 < table.out.size()) {
      EXPECT_GE(static_cast<unsigned char>(table.out[i + 1]), 0xA0) << "a C1 control at " << i;
    }
  }
  EXPECT_NE(table.out.find(".[2J.31m.   "), std::string::npos) << table.out;
  testing::CliRun json = Cli("list " + card + " --json");
  EXPECT_NE(json.out.find("\"name\":\"\\u001b[2J\\u009b31m\\u007f"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"description_vmu\":\"x\\u001f"), std::string::npos) << json.out;
}

// Shift-JIS descriptions reach JSON and the table as Japanese, each field on its own.
TEST_F(CliCardCommands, ListDecodesShiftJisDescriptions) {
  CardBuilder builder;
  const std::string short_field = "\x83\x5A\x81\x5B\x83\x75" + std::string(10, ' ');
  const std::string long_field = "\x93\xFA\x96\x7B\x8C\xEA \x1B[2J" + std::string(19, '\0');
  builder.AddSave(0, "JP_SAVE", {199}, false, 1, short_field + long_field);
  const std::string card = Write(builder, "japanese.dcm");
  testing::CliRun json = Cli("list " + card + " --json");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("\"name\":\"JP_SAVE\",\"name_raw\":\"4A505F534156450000000000\""),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"description_vmu\":\"セーブ\",\"description\":\"日本語  [2J\""),
            std::string::npos)
      << json.out;
  testing::CliRun table = Cli("list " + card);
  EXPECT_NE(table.out.find("JP_SAVE       セーブ          日本語  [2J"), std::string::npos)
      << table.out;
}

// Sizes that add up to more than the user blocks: 0 free, never a wrapped count.
TEST_F(CliCardCommands, FreeBlocksNeverWrap) {
  CardBuilder builder(200);
  builder.AddSave(0, "BIG", {199});
  builder.Entry(0)[0x18] = 250;
  const std::string card = Write(builder, "over.dcm");
  EXPECT_NE(Cli("list " + card).out.find("200 user blocks, 0 free, 1 saves"), std::string::npos);
  EXPECT_NE(Cli("list " + card + " --json").out.find("\"free_blocks\":0,"), std::string::npos);
  EXPECT_NE(Cli("check " + card).out.find("so the card shows 0 blocks free"), std::string::npos);
}

// A damaged structure: every write is refused with the reason and leaves the file as it was;
// list, export and check still read it, and format is the way out.
TEST_F(CliCardCommands, WritesToADamagedCardAreRefused) {
  CardBuilder damaged;
  damaged.AddSave(0, "A", {199, 198});
  damaged.AddSave(1, "B", {197, 198});
  const std::string card = Write(damaged, "damaged.dcm");
  const std::string other = Write(ThreeSaves(), "other.dcm");
  const std::vector<std::uint8_t> before = test::ReadFile(dir / "damaged.dcm");
  ASSERT_EQ(Cli("export " + other + " SMALL " + Path("small.dci")).status, 0);
  for (const std::string& write :
       {"delete " + card + " A", "import " + card + " " + Path("small.dci"),
        "copy " + other + " SMALL " + card}) {
    testing::CliRun run = Cli(write);
    EXPECT_EQ(run.status, 1) << write;
    EXPECT_NE(run.err.find("structure is damaged, so nothing is written to it: save 1 (B......"
                           ".....): block 198 is cross-linked with save 0 (A"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(test::ReadFile(dir / "damaged.dcm"), before) << write;
  }
  EXPECT_EQ(Cli("list " + card).status, 0);
  EXPECT_EQ(Cli("export " + card + " B " + Path("b.dci")).status, 0);
  EXPECT_EQ(Cli("check " + card).status, 1);
  ASSERT_EQ(Cli("format " + card + " --blocks 200").status, 0);
  ExpectClean(card);
}

TEST_F(CliCardCommands, WrongSizedImageIsRefused) {
  const std::string path = Path("short.dcm");
  std::ofstream(path, std::ios::binary) << std::string(131071, '\xFF');
  testing::CliRun run = Cli("list " + path);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("not a card image (131071 bytes, expected 131072)"), std::string::npos);
  EXPECT_EQ(Cli("list " + Path("absent.dcm")).status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "absent.dcm"));
}

TEST_F(CliCardCommands, SlotsOfTheVirtualUnit) {
  std::filesystem::create_directories(dir / "unit");
  Write(ThreeSaves(), "unit/slot1.dcm");
  std::ofstream(dir / "unit/slot2.dcm", std::ios::binary) << std::string(131072, '\xFF');
  const std::string unit = "--virtual-unit " + Path("unit") + " ";
  ASSERT_EQ(Cli(unit + "format slot2 --blocks 200").status, 0);
  testing::CliRun copy = Cli(unit + "copy slot1 MIDDLE slot2");
  ASSERT_EQ(copy.status, 0) << copy.err;
  testing::CliRun listed = Cli(unit + "list slot2 --json");
  EXPECT_NE(listed.out.find("\"free_blocks\":190"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("\"first_block\":199,\"blocks\":10"), std::string::npos);
  EXPECT_EQ(Cli(unit + "check slot2").status, 0);
  EXPECT_EQ(Cli(unit + "delete slot1 BIG").status, 0);
  EXPECT_NE(Cli(unit + "list slot1 --json").out.find("\"free_blocks\":187"), std::string::npos);
  EXPECT_EQ(Cli(unit + "check slot1").status, 0);
}

// Format, replace and restore on a slot of the virtual unit, each undone: the card dumps
// byte for byte as before; history lists the commands, and undo after a change is refused.
TEST_F(CliCardCommands, UndoGivesBackTheCardAfterFormatReplaceAndRestore) {
  std::filesystem::create_directories(dir / "unit");
  Write(ThreeSaves(), "unit/slot1.dcm");
  CardBuilder other(241);
  other.AddSave(0, "OTHER", {240});
  Write(other, "other.dcm");
  const std::string unit = "--virtual-unit " + Path("unit") + " ";
  ASSERT_EQ(Cli(unit + "export slot1 MIDDLE " + Path("middle.dci")).status, 0);
  const std::vector<std::string> commands = {
      "format slot1 --blocks 241", "import slot1 " + Path("middle.dci") + " --replace --verify",
      "restore slot1 " + Path("other.dcm")};
  for (const std::string& command : commands) {
    ASSERT_EQ(Cli(unit + "dump slot1 " + Path("before.dcm")).status, 0);
    testing::CliRun run = Cli(unit + command);
    ASSERT_EQ(run.status, 0) << command << ": " << run.err;
    testing::CliRun undo = Cli(unit + "undo slot1");
    ASSERT_EQ(undo.status, 0) << command << ": " << undo.err;
    ASSERT_EQ(Cli(unit + "dump slot1 " + Path("after.dcm")).status, 0);
    EXPECT_EQ(test::ReadFile(dir / "after.dcm"), test::ReadFile(dir / "before.dcm")) << command;
  }
  testing::CliRun history = Cli(unit + "history slot1");
  ASSERT_EQ(history.status, 0) << history.err;
  for (const char* listed : {"format", "import  MIDDLE", "restore other.dcm", "undo 5"}) {
    EXPECT_NE(history.out.find(listed), std::string::npos) << listed << "\n" << history.out;
  }
  ASSERT_EQ(Cli(unit + "delete slot1 SMALL").status, 0);
  ASSERT_EQ(Cli(unit + "import slot1 " + Path("middle.dci") + " --replace").status, 0);
  testing::CliRun refused = Cli(unit + "undo slot1 --to 7");
  EXPECT_EQ(refused.status, 0) << refused.err;  // both commands undone together
  ASSERT_EQ(Cli(unit + "delete slot1 SMALL").status, 0);
  ASSERT_EQ(Cli("--no-journal " + unit + "delete slot1 BIG").status, 0);
  refused = Cli(unit + "undo slot1");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("the card was changed since"), std::string::npos) << refused.err;
}

// The journal folder cannot be written: the command fails and the card is as it was.
TEST_F(CliCardCommands, AJournalThatCannotBeWrittenStopsTheCommand) {
  const std::string card = Write(ThreeSaves(), "card.dcm");
  const std::vector<std::uint8_t> before = test::ReadFile(card);
  dir_text();
  std::ofstream(dir / "journal") << "not a folder";
  testing::CliRun run = Cli("format " + card + " --blocks 241");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("journal"), std::string::npos) << run.err;
  EXPECT_EQ(test::ReadFile(card), before);
  EXPECT_EQ(Cli("--no-journal format " + card + " --blocks 241").status, 0);
  EXPECT_NE(test::ReadFile(card), before);
}

}  // namespace
}  // namespace quorvel

#endif  // QUORVEL_CLI_PATH
