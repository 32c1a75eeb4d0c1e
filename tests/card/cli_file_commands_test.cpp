// quorvel-cli export, import, dump, restore, new-image, icon and card-icon, run end to end on
// image files and on the slots of the virtual unit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/card_fixture.h"
#include "card/card_icon_file.h"
#include "card/dci_file.h"
#include "card/work_files.h"
#include "support/unprivileged.h"
#include "virtualunit/virtual_unit.h"

#ifdef QUORVEL_CLI_PATH

namespace quorvel {
namespace {

using test::CardBuilder;
using test::ReadFile;

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

class CliFileCommands : public ::testing::Test {
 protected:
  CliFileCommands() {
    // A configuration without link delays, so that the virtual unit answers at once.
    std::ofstream(dir / "DID2.cfg") << "888\r\n0\r\n0\r\n0\r\n9216\r\n0\r\n1\r\n";
  }
  // `shell` comes before the program on the shell's command line ("ulimit -f 64;").
  CliResult Cli(const std::string& arguments, const std::string& shell = "") {
    const std::string command = "cd '" + Path("") + "' && " + shell + " '" QUORVEL_CLI_PATH "' " +
                                arguments + " >stdout 2>stderr";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Text("stdout"), Text("stderr")};
  }
  std::string Text(const std::string& name) {
    const auto bytes = ReadFile(dir / name);
    return std::string(bytes.begin(), bytes.end());
  }
  std::string Path(const std::string& name) { return (dir / name).string(); }
  std::string Write(const CardBuilder& builder, const std::string& name) {
    builder.WriteTo(dir / name);
    return name;
  }
  void ExpectClean(const std::string& source) {
    const CliResult check = Cli(source);
    EXPECT_EQ(check.status, 0) << check.out << check.err;
  }
  test::TempDir dir;
};

CardBuilder TwoSaves() {
  CardBuilder builder(200);
  builder.AddSave(0, "GAME________", {0, 1, 2}, true, 1, "A game");
  builder.AddSave(3, "DATA________", {150, 120, 90, 60}, false, 2, "Some data");
  return builder;
}

TEST_F(CliFileCommands, ExportThenImportKeepsTheSave) {
  Write(TwoSaves(), "source.dcm");
  Write(CardBuilder(200), "target.dcm");
  ASSERT_EQ(Cli("export source.dcm DATA________ data.dci").status, 0);
  ASSERT_EQ(Cli("export source.dcm '#0' game.dci").status, 0);
  EXPECT_EQ(ReadFile(dir / "data.dci").size(), 32u + 4 * 512);
  ASSERT_EQ(Cli("import target.dcm data.dci").status, 0);
  ASSERT_EQ(Cli("import target.dcm game.dci").status, 0);
  const CliResult listed = Cli("list target.dcm --json");
  EXPECT_NE(listed.out.find("\"name\":\"DATA________\",\"name_raw\":\"444154415F5F5F5F5F5F5F5F\","
                            "\"kind\":\"data\",\"first_block\":199,"
                            "\"blocks\":4"),
            std::string::npos)
      << listed.out;
  EXPECT_NE(listed.out.find("\"name\":\"GAME________\",\"name_raw\":\"47414D455F5F5F5F5F5F5F5F\","
                            "\"kind\":\"game\",\"first_block\":0"),
            std::string::npos);
  ExpectClean("check target.dcm");

  const CliResult exists = Cli("import target.dcm data.dci");
  EXPECT_EQ(exists.status, 1);
  EXPECT_NE(exists.err.find("already holds a save named DATA________"), std::string::npos)
      << exists.err;
  EXPECT_EQ(Cli("import target.dcm data.dci --replace --add").status, 2);
  ASSERT_EQ(Cli("import target.dcm data.dci --add").status, 0);
  EXPECT_NE(Cli("list target.dcm --json").out.find("\"free_blocks\":189"), std::string::npos);
  ASSERT_EQ(Cli("import target.dcm data.dci --replace").status, 0);
  EXPECT_NE(Cli("list target.dcm --json").out.find("\"free_blocks\":189"), std::string::npos);
  ExpectClean("check target.dcm");
}

// A save exported as a VMS/VMI pair imports into an empty card as the same save; export picks
// the format by the output's extension, and --entry N names a save as '#N' does.
TEST_F(CliFileCommands, VmsPairsRoundTripAndEntryNumbersNameSaves) {
  Write(TwoSaves(), "source.dcm");
  Write(CardBuilder(200), "target.dcm");
  ASSERT_EQ(Cli("export source.dcm --entry 3 DATA.VMS").status, 0);
  ASSERT_EQ(Cli("export --entry 0 source.dcm game.vmi").status, 0);
  EXPECT_EQ(ReadFile(dir / "DATA.VMS").size(), 4u * 512);
  EXPECT_EQ(ReadFile(dir / "DATA.VMI").size(), 108u);
  EXPECT_TRUE(std::filesystem::exists(dir / "game.vms"));
  const CliResult both = Cli("import target.dcm DATA.VMI game.vms");
  ASSERT_EQ(both.status, 0) << both.err;
  EXPECT_EQ(both.out, "2 of 2 files imported\n");
  const std::string from = Cli("list source.dcm --json").out;
  const std::string to = Cli("list target.dcm --json").out;
  for (const std::string& save :
       {std::string("\"name\":\"GAME________\",\"name_raw\":\"47414D455F5F5F5F5F5F5F5F\","
                    "\"kind\":\"game\",\"first_block\":0,\"blocks\":3,\"date\":\"2001/02/03\","
                    "\"time\":\"04:05:06\",\"description_vmu\":\"A game\""),
        std::string("\"kind\":\"data\",\"first_block\":199,\"blocks\":4,\"date\":\"2001/02/03\","
                    "\"time\":\"04:05:06\",\"description_vmu\":\"Some data\"")}) {
    EXPECT_NE(from.find(save.substr(save.find("\"blocks"))), std::string::npos) << from;
    EXPECT_NE(to.find(save), std::string::npos) << to;
  }
  // The blocks are the same, byte for byte.
  ASSERT_EQ(Cli("export target.dcm DATA________ again.dci").status, 0);
  ASSERT_EQ(Cli("export source.dcm DATA________ first.dci").status, 0);
  const auto again = ReadFile(dir / "again.dci");
  const auto first = ReadFile(dir / "first.dci");
  EXPECT_TRUE(std::equal(again.begin() + 32, again.end(), first.begin() + 32, first.end()));
  ExpectClean("check target.dcm");
  EXPECT_EQ(Cli("export source.dcm --entry x out.dci").status, 2);
  EXPECT_NE(Cli("delete source.dcm --entry 7").err.find("no save in directory slot 7"),
            std::string::npos);
  ASSERT_EQ(Cli("delete source.dcm --entry 3").status, 0);
  EXPECT_EQ(Cli("list source.dcm --json").out.find("DATA"), std::string::npos);
}

// Several files at once: each is tried, the failures say why, a summary ends the run and the
// exit status is 1 when any failed; a bad pair writes nothing.
TEST_F(CliFileCommands, ImportOfSeveralFilesReportsEachAndSumsUp) {
  Write(TwoSaves(), "source.dcm");
  Write(CardBuilder(200), "target.dcm");
  ASSERT_EQ(Cli("export source.dcm DATA________ data.dci").status, 0);
  ASSERT_EQ(Cli("export source.dcm GAME________ GAME.VMS").status, 0);
  std::vector<std::uint8_t> vmi = ReadFile(dir / "GAME.VMI");
  vmi[0x68] ^= 0x02;  // a size the VMS does not have
  ASSERT_TRUE(ReplaceFileContents(dir / "BAD.VMI", vmi));
  const auto before = ReadFile(dir / "target.dcm");
  CliResult run = Cli("import target.dcm BAD.VMI");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "quorvel-cli: BAD.VMI: the VMI gives another size than its VMS file has\n");
  vmi = ReadFile(dir / "GAME.VMI");
  vmi[0x69] ^= 0x02;
  ASSERT_TRUE(ReplaceFileContents(dir / "GAME.VMI", vmi));
  run = Cli("import target.dcm GAME.VMI");
  EXPECT_EQ(run.err, "quorvel-cli: GAME.VMI: the VMI gives another size than its VMS file has\n");
  EXPECT_EQ(ReadFile(dir / "target.dcm"), before);
  run = Cli("import target.dcm data.dci GAME.VMS none.dci");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "1 of 3 files imported\n");
  EXPECT_NE(run.err.find("GAME.VMI: the VMI gives another size"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("none.dci: no such file"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("2 of 3 files not imported"), std::string::npos) << run.err;
  EXPECT_NE(Cli("list target.dcm --json").out.find("DATA________"), std::string::npos);
  EXPECT_EQ(Cli("import target.dcm a.dci b.dci --name X").status, 2);
}

// A VMS without its VMI: a game or data by where its header is, named after the file or by
// --name; a VMS that does not tell is refused unless --game or --data says.
TEST_F(CliFileCommands, LoneVmsTakesItsNameFromTheFileOrFromOptions) {
  Write(CardBuilder(200), "card.dcm");
  std::vector<std::uint8_t> vms(2 * 512, 0xFF);
  ASSERT_TRUE(ReplaceFileContents(dir / "odd-one.vms", vms));
  CliResult run = Cli("import card.dcm odd-one.vms");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("odd-one.vms: the VMS file does not tell whether it is a game or data; "
                         "give --game or --data"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Cli("import card.dcm odd-one.vms --game --data").status, 2);
  ASSERT_EQ(Cli("import card.dcm odd-one.vms --data").status, 0);
  ASSERT_EQ(Cli("import card.dcm odd-one.vms --game --name 'MY GAME'").status, 0);
  const std::string listed = Cli("list card.dcm --json").out;
  EXPECT_NE(listed.find(
                "\"name\":\"ODD-ONE\",\"name_raw\":\"4F44442D4F4E450000000000\",\"kind\":\"data\""),
            std::string::npos)
      << listed;
  EXPECT_NE(
      listed.find(
          "\"name\":\"MY "
          "GAME\",\"name_raw\":\"4D592047414D450000000000\",\"kind\":\"game\",\"first_block\":0"),
      std::string::npos)
      << listed;
  EXPECT_NE(Cli("import card.dcm odd-one.vms --data --name THIRTEEN_LONG").err.find("1 to 12"),
            std::string::npos);
}

// export-all writes every save under a name made safe for a file system and never over a file:
// two saves of one name, and a second run, get new names, and the run says so.
TEST_F(CliFileCommands, ExportAllNeverWritesOverAFile) {
  CardBuilder builder = TwoSaves();
  builder.AddSave(5, "DATA________", {100}, false, 1, "Twin");
  builder.AddSave(6, "A/B*", {101}, false, 1, "Unsafe");
  Write(builder, "card.dcm");
  CliResult run = Cli("export-all card.dcm out");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "#0 GAME________ -> out/GAME________.DCI\n"
            "#3 DATA________ -> out/DATA________.DCI\n"
            "#5 DATA________ -> out/DATA_________2.DCI (DATA________.DCI exists)\n"
            "#6 A/B* -> out/A_B_.DCI\n");
  const auto first = ReadFile(dir / "out/DATA________.DCI");
  run = Cli("export-all card.dcm out --format vmi");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("#0 GAME________ -> out/GAME____.VMS + GAME____.VMI\n"), std::string::npos)
      << run.out;
  EXPECT_NE(
      run.out.find("#5 DATA________ -> out/DATA___2.VMS + DATA___2.VMI (DATA____.VMS exists)"),
      std::string::npos)
      << run.out;
  run = Cli("export-all card.dcm out");
  EXPECT_NE(run.out.find("-> out/DATA_________3.DCI (DATA________.DCI exists)"), std::string::npos)
      << run.out;
  EXPECT_EQ(ReadFile(dir / "out/DATA________.DCI"), first);
  EXPECT_EQ(Cli("export-all card.dcm out --format zip").status, 2);
  // Every file written imports again.
  Write(CardBuilder(241), "copy.dcm");
  run =
      Cli("import copy.dcm out/GAME____.VMI out/DATA____.VMS out/DATA___2.VMI out/A_B_.DCI --add");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "4 of 4 files imported\n");
}

// convert turns a DCI file into a VMS/VMI pair and back: the blocks byte for byte, the entry
// but for the first block (the card's choice); an existing output needs --force.
TEST_F(CliFileCommands, ConvertMovesSingleSavesBetweenDciAndVmsVmi) {
  Write(TwoSaves(), "card.dcm");
  ASSERT_EQ(Cli("export card.dcm DATA________ data.dci").status, 0);
  ASSERT_EQ(Cli("export card.dcm GAME________ game.dci").status, 0);
  for (const std::string base : {"data", "game"}) {
    CliResult run = Cli("convert " + base + ".dci " + base + ".vmi");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(dir / (base + ".vmi")).size(), 108u);
    run = Cli("convert " + base + ".vms back.dci --force");
    ASSERT_EQ(run.status, 0) << run.err;
    auto original = ReadFile(dir / (base + ".dci"));
    const auto back = ReadFile(dir / "back.dci");
    original[2] = back[2];  // the first block
    EXPECT_EQ(back, original) << base;
  }
  const CliResult exists = Cli("convert data.dci data.vms");
  EXPECT_EQ(exists.status, 1);
  EXPECT_EQ(exists.err, "quorvel-cli: data.vms already exists; give --force to replace it\n");
  EXPECT_EQ(Cli("convert data.vmi data.vms --force").status, 1);  // the pair itself
  std::vector<std::uint8_t> cut = ReadFile(dir / "data.dci");
  cut.resize(cut.size() - 1);
  ASSERT_TRUE(ReplaceFileContents(dir / "cut.dci", cut));
  const CliResult refused = Cli("convert cut.dci cut.vms");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("cut.dci: not a whole single-save file; nothing was written"),
            std::string::npos)
      << refused.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "cut.vms"));
  EXPECT_EQ(Cli("convert data.dci data.txt").status, 2);
}

TEST_F(CliFileCommands, ImportRefusalsSayWhy) {
  Write(TwoSaves(), "card.dcm");
  std::vector<std::uint8_t> file(32 + 512);
  file[0] = 0x33;
  file[0x18] = 2;  // two blocks named, one present
  ASSERT_TRUE(ReplaceFileContents(dir / "short.dci", file));
  CliResult run = Cli("import card.dcm short.dci");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("shorter than the blocks its entry names"), std::string::npos) << run.err;
  file[0x18] = 0;
  ASSERT_TRUE(ReplaceFileContents(dir / "empty.dci", file));
  run = Cli("import card.dcm empty.dci");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("needs more blocks than the target has free"), std::string::npos)
      << run.err;
  file[0] = 0xCC;  // a game, but block 0 is taken
  file[0x18] = 1;
  ASSERT_TRUE(ReplaceFileContents(dir / "game.dci", file));
  run = Cli("import card.dcm game.dci");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("block 0"), std::string::npos) << run.err;
  EXPECT_NE(Cli("import card.dcm none.dci").err.find("none.dci: no such file"), std::string::npos);
  // A replace whose new save cannot be stored keeps the old save of that name.
  const std::string name = "DATA________";
  std::copy(name.begin(), name.end(), file.begin() + 4);
  file[0] = 0x33;
  file[0x18] = 0;
  ASSERT_TRUE(ReplaceFileContents(dir / "data.dci", file));
  run = Cli("import card.dcm data.dci --replace");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("needs more blocks than the target has free"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFile(dir / "card.dcm"), TwoSaves().Bytes());
  EXPECT_EQ(Cli("export card.dcm NOPE x.dci").status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.dci"));
}

// A file cut short is refused before the card is touched, also when it was to replace a save:
// the old save is still there.
TEST_F(CliFileCommands, ATruncatedFileNeverCostsTheSaveItWasToReplace) {
  Write(TwoSaves(), "card.dcm");
  ASSERT_EQ(Cli("export card.dcm DATA________ data.dci").status, 0);
  std::vector<std::uint8_t> file = ReadFile(dir / "data.dci");
  file.resize(file.size() - 512);
  ASSERT_TRUE(ReplaceFileContents(dir / "cut.dci", file));
  for (const char* option : {"--replace", "--add", ""}) {
    const CliResult run = Cli(std::string("import card.dcm cut.dci ") + option);
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_NE(run.err.find("shorter than the blocks its entry names"), std::string::npos)
        << option << run.err;
    EXPECT_EQ(ReadFile(dir / "card.dcm"), TwoSaves().Bytes()) << option;
  }
  EXPECT_NE(Cli("list card.dcm --json").out.find("\"name\":\"DATA________\""), std::string::npos);
}

// What import stores is what a card can hold: entries no card can hold are refused before
// anything is written (a replace keeps the old save); a data save's first-block high byte is
// the card's to choose and is cleared.
TEST_F(CliFileCommands, ImportStoresOnlyEntriesACardCanHold) {
  Write(TwoSaves(), "card.dcm");
  std::vector<std::uint8_t> file(32 + 2 * 512, 0x5A);
  std::fill_n(file.begin(), 32, 0);
  const std::string name = "DATA________";
  std::copy(name.begin(), name.end(), file.begin() + 4);
  file[0] = 0x33;
  file[0x18] = 2;
  struct Refused {
    std::size_t offset;
    std::uint8_t value;
    const char* words;
  } refused[] = {
      {0x00, 0x00, "type 0x00 is neither data (0x33) nor game (0xCC)"},
      {0x19, 0x01, "size 258 blocks is more than a card holds"},
      {0x1A, 0x03, "header offset 3 lies beyond the save's 2 blocks"},
  };
  for (const Refused& r : refused) {
    std::vector<std::uint8_t> bad = file;
    bad[r.offset] = r.value;
    ASSERT_TRUE(ReplaceFileContents(dir / "bad.dci", bad));
    for (const char* option : {"--add", "--replace"}) {
      CliResult run = Cli("import card.dcm bad.dci " + std::string(option));
      EXPECT_EQ(run.status, 1) << r.words;
      EXPECT_NE(run.err.find(r.words), std::string::npos) << run.err;
      EXPECT_EQ(ReadFile(dir / "card.dcm"), TwoSaves().Bytes()) << r.words << " " << option;
    }
  }
  std::vector<std::uint8_t> game = file;
  game[0] = 0xCC;
  game[3] = 0xFF;
  ASSERT_TRUE(ReplaceFileContents(dir / "game.dci", game));
  EXPECT_NE(Cli("import card.dcm game.dci --add").err.find("first block 65280 is not a block"),
            std::string::npos);
  EXPECT_EQ(ReadFile(dir / "card.dcm"), TwoSaves().Bytes());

  file[3] = 0xFF;  // first block 0xFF00 + the low byte: the card chooses the block
  ASSERT_TRUE(ReplaceFileContents(dir / "high.dci", file));
  const CliResult added = Cli("import card.dcm high.dci --add");
  ASSERT_EQ(added.status, 0) << added.err;
  ExpectClean("check card.dcm");
  EXPECT_NE(Cli("list card.dcm --json").out.find("\"first_block\":199,\"blocks\":2"),
            std::string::npos);
  const auto card = ReadFile(dir / "card.dcm");
  EXPECT_EQ(test::LogicalBlock(card, 253)[32 * 1 + 3], 0);  // stored in the first free slot
}

// Writing an image that holds no formatted card onto a slot needs --force.
TEST_F(CliFileCommands, RestoreOfAnUnformattedImageNeedsForce) {
  std::filesystem::create_directories(dir / "unit");
  Write(TwoSaves(), "unit/slot1.dcm");
  Write(CardBuilder(241), "unit/slot2.dcm");
  ASSERT_TRUE(ReplaceFileContents(dir / "junk.dcm", std::vector<std::uint8_t>(131072, 0x00)));
  const std::string unit = "--virtual-unit unit ";
  const CliResult refused = Cli(unit + "restore slot1 junk.dcm");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("junk.dcm: not a formatted card"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--force"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "unit/slot1.dcm"), TwoSaves().Bytes());
  ASSERT_EQ(Cli(unit + "restore slot1 junk.dcm --force").status, 0);
  EXPECT_EQ(ReadFile(dir / "unit/slot1.dcm"), std::vector<std::uint8_t>(131072, 0x00));
}

TEST_F(CliFileCommands, DumpOfOneVirtualSlotRestoredIntoTheOtherGivesTheSameCard) {
  std::filesystem::create_directories(dir / "unit");
  Write(TwoSaves(), "unit/slot1.dcm");
  Write(CardBuilder(241), "unit/slot2.dcm");
  const std::string unit = "--virtual-unit unit ";
  const CliResult dump = Cli(unit + "dump slot1 backup.dcm --stats");
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_NE(dump.err.find(" 256 block reads,"), std::string::npos) << dump.err;  // each once
  EXPECT_EQ(ReadFile(dir / "backup.dcm"), TwoSaves().Bytes());
  const CliResult restore = Cli(unit + "restore slot2 backup.dcm");
  ASSERT_EQ(restore.status, 0) << restore.err;
  EXPECT_EQ(ReadFile(dir / "unit/slot2.dcm"), ReadFile(dir / "unit/slot1.dcm"));
  ExpectClean(unit + "check slot2");

  EXPECT_EQ(Cli("dump backup.dcm other.dcm").status, 2);
  ASSERT_TRUE(ReplaceFileContents(dir / "odd.dcm", std::vector<std::uint8_t>(131071)));
  const CliResult odd = Cli(unit + "restore slot2 odd.dcm");
  EXPECT_EQ(odd.status, 1);
  EXPECT_NE(odd.err.find("exactly 131072 bytes"), std::string::npos) << odd.err;
  EXPECT_EQ(ReadFile(dir / "unit/slot2.dcm"), ReadFile(dir / "unit/slot1.dcm"));
}

TEST_F(CliFileCommands, NewImageComesFromTheTemplate) {
  // No template in the working folder: the built one (an empty 200-block card) is used.
  ASSERT_EQ(Cli("new-image fresh.dcm").status, 0);
  EXPECT_NE(Cli("list fresh.dcm --json").out.find("\"free_blocks\":200"), std::string::npos);
  // A template in the working folder comes first.
  Write(TwoSaves(), "dpnw.dc");
  ASSERT_EQ(Cli("new-image copy.dcm").status, 0);
  EXPECT_EQ(ReadFile(dir / "copy.dcm"), TwoSaves().Bytes());
  ASSERT_TRUE(ReplaceFileContents(dir / "dpnw.dc", std::vector<std::uint8_t>(100)));
  const CliResult short_template = Cli("new-image bad.dcm");
  EXPECT_EQ(short_template.status, 1);
  EXPECT_NE(short_template.err.find("fewer than 131072 bytes"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "bad.dcm"));
}

TEST_F(CliFileCommands, NewImageKeepsAnExistingFileUnlessForced) {
  Write(TwoSaves(), "keep.dcm");
  const CliResult refused = Cli("new-image keep.dcm");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("keep.dcm already exists; give --force"), std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadFile(dir / "keep.dcm"), TwoSaves().Bytes());
  ASSERT_EQ(Cli("new-image keep.dcm --force").status, 0);
  EXPECT_NE(Cli("list keep.dcm --json").out.find("\"free_blocks\":200"), std::string::npos);
}

// Whole cards between DCM and raw order; OUT is never IN and is replaced only when forced.
TEST_F(CliFileCommands, ConvertChangesTheOrderAndRefusesToWriteOverFiles) {
  Write(TwoSaves(), "card.dcm");
  ASSERT_EQ(Cli("convert card.dcm card.vmu").status, 0);
  std::vector<std::uint8_t> raw = TwoSaves().Bytes();
  for (std::size_t at = 0; at < raw.size(); at += kBlockSize) {
    ReverseGroups(std::span(raw).subspan(at).first<kBlockSize>());
  }
  EXPECT_EQ(ReadFile(dir / "card.vmu"), raw);
  ASSERT_EQ(Cli("convert card.vmu back.dcm").status, 0);
  EXPECT_EQ(ReadFile(dir / "back.dcm"), TwoSaves().Bytes());

  const struct {
    const char* arguments;
    int status;
    const char* said;
  } refusals[] = {
      {"convert card.dcm card.vmu", 1, "card.vmu already exists; give --force"},
      {"convert card.dcm ./card.dcm --force", 1, "./card.dcm is the file being converted"},
      {"convert missing.dcm x.bin", 1, "missing.dcm: no such file"},
      {"convert card.dcm card.txt", 2, "card.txt names none of them"},
      {"convert card.dcm", 2, ""},
  };
  for (const auto& refusal : refusals) {
    const CliResult result = Cli(refusal.arguments);
    EXPECT_EQ(result.status, refusal.status) << refusal.arguments;
    EXPECT_NE(result.err.find(refusal.said), std::string::npos) << result.err;
  }
  EXPECT_EQ(ReadFile(dir / "card.dcm"), TwoSaves().Bytes());
  EXPECT_FALSE(std::filesystem::exists(dir / "x.bin"));
  ASSERT_TRUE(ReplaceFileContents(dir / "card.vmu", std::vector<std::uint8_t>(5)));
  ASSERT_EQ(Cli("convert card.dcm card.vmu --force").status, 0);
  EXPECT_EQ(ReadFile(dir / "card.vmu"), raw);
}

// Raw cards made by other tools list the same saves as their DCM conversions, every card
// command reads them, and convert there and back gives the same bytes.
TEST_F(CliFileCommands, RealRawCardsListAsTheirDcmConversionsAndConvertBackUnchanged) {
  const std::filesystem::path real = QUORVEL_REALDATA_DIR;
  if (!std::filesystem::exists(real)) GTEST_SKIP() << "no real card data";
  for (const char* name : {"fuse-vmu/vmu_a.bin", "fuse-vmu/vmu_b.bin", "fuse-vmu/example_vmu.bin",
                           "dreampotato/ReadFiles_01.vmu"}) {
    SCOPED_TRACE(name);
    const std::filesystem::path raw = real / name;
    const std::string copy = "raw" + raw.extension().string();
    std::filesystem::copy_file(raw, dir / copy, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(dir / copy, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    ASSERT_EQ(Cli("convert " + copy + " card.dcm --force").status, 0);
    const CliResult from_raw = Cli("list " + copy + " --json");
    const CliResult from_dcm = Cli("list card.dcm --json");
    ASSERT_EQ(from_raw.status, 0) << from_raw.err;
    EXPECT_EQ(from_raw.out, from_dcm.out);
    EXPECT_EQ(from_raw.out.find("\"saves\":[]"), std::string::npos) << "saves are listed";
    EXPECT_EQ(Cli("check " + copy).status, 0);
    ASSERT_EQ(Cli("convert card.dcm back" + raw.extension().string() + " --force").status, 0);
    EXPECT_EQ(ReadFile(dir / ("back" + raw.extension().string())), ReadFile(raw));
    // A write to the raw card keeps it in its own order.
    const std::size_t at = from_dcm.out.find("\"slot\":");
    ASSERT_NE(at, std::string::npos);
    const std::string first = "'#" + std::to_string(std::atoi(from_dcm.out.c_str() + at + 7)) + "'";
    ASSERT_EQ(Cli("export card.dcm " + first + " first.dci").status, 0);
    ASSERT_EQ(Cli("delete " + copy + " " + first).status, 0);
    ASSERT_EQ(Cli("import " + copy + " first.dci --add").status, 0);  // a twin may remain
    EXPECT_EQ(Cli("check " + copy).status, 0);
    EXPECT_EQ(Cli("list " + copy + " --json").out.size(), from_dcm.out.size());
  }
}

TEST_F(CliFileCommands, ASourceOfNoRecognisableOrderIsRefused) {
  std::vector<std::uint8_t> odd(kImageFileSize, 0);
  std::fill_n(odd.begin() + std::size_t{kRootBlock} * kBlockSize, 16, 0x55);
  ASSERT_TRUE(ReplaceFileContents(dir / "odd.vmu", odd));
  const CliResult listed = Cli("list odd.vmu");
  EXPECT_EQ(listed.status, 1);
  EXPECT_NE(listed.err.find("odd.vmu: not a card image: its root block reads as a card's neither"),
            std::string::npos)
      << listed.err;
  EXPECT_EQ(Cli("format odd.vmu --blocks 200").status, 1);
  EXPECT_EQ(ReadFile(dir / "odd.vmu"), odd);
}

TEST_F(CliFileCommands, IconWritesOneFrame) {
  Write(TwoSaves(), "card.dcm");
  ASSERT_EQ(Cli("icon card.dcm DATA________ frame1.bmp --frame 1").status, 0);
  EXPECT_EQ(ReadFile(dir / "frame1.bmp").size(), kIconBmpSize);
  const CliResult missing = Cli("icon card.dcm DATA________ frame2.bmp --frame 2");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("DATA________ has no icon frame 2 (it has 2)"), std::string::npos)
      << missing.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "frame2.bmp"));
  EXPECT_EQ(Cli("icon card.dcm DATA________ x.bmp --frame one").status, 2);
}

TEST_F(CliFileCommands, CardIconAddsTheIconSave) {
  Write(CardBuilder(200), "card.dcm");
  IconImage picture;
  for (int i = 0; i < 16; ++i)
    picture.SetColour(i, Bgr{static_cast<std::uint8_t>(16 * i), 0x80, 0});
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x)
      picture.SetPixel(x, y, static_cast<std::uint8_t>((x / 4 + y) % 20));
  }
  ASSERT_TRUE(WriteIconBmp(picture, dir / "logo.bmp"));
  const CliResult run = Cli("card-icon card.dcm logo.bmp --dark 1,3 --name 'My card'");
  ASSERT_EQ(run.status, 0) << run.err;
  const CliResult listed = Cli("list card.dcm --json");
  EXPECT_NE(listed.out.find("\"name\":\"ICONDATA_VMS\",\"name_raw\":\"49434F4E444154415F564D53\","
                            "\"kind\":\"data\",\"first_block\":199,"
                            "\"blocks\":2"),
            std::string::npos)
      << listed.out;
  EXPECT_NE(listed.out.find("VMU CAPTION LOGO"), std::string::npos);
  ASSERT_EQ(Cli("export card.dcm ICONDATA_VMS icon.dci").status, 0);
  IconImage monochrome = picture;
  SetDarkColours(monochrome, std::bitset<16>(0b1010));
  const auto expected = BuildCardIconFile(picture, monochrome, "My card");
  const auto stored = ReadFile(dir / "icon.dci");
  ASSERT_EQ(stored.size(), expected.size());
  EXPECT_TRUE(std::equal(stored.begin() + 32, stored.end(), expected.begin() + 32));
  ExpectClean("check card.dcm");

  // Run again, the icon save is replaced: the console shows only the first one of a card.
  ASSERT_EQ(Cli("card-icon card.dcm logo.bmp --name Again").status, 0);
  const CliResult again = Cli("list card.dcm --json");
  EXPECT_EQ(again.out.find("ICONDATA_VMS"), again.out.rfind("ICONDATA_VMS")) << again.out;
  EXPECT_NE(again.out.find("\"free_blocks\":198"), std::string::npos) << again.out;
  ExpectClean("check card.dcm");

  EXPECT_EQ(Cli("card-icon card.dcm logo.bmp --dark 16").status, 2);
  ASSERT_TRUE(ReplaceFileContents(dir / "wide.bmp", std::vector<std::uint8_t>(2102, 0x42)));
  const CliResult refused = Cli("card-icon card.dcm wide.bmp");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("wide.bmp: the BMP file must be 32 x 32 pixels"), std::string::npos)
      << refused.err;
}

// The bytes of the files, to see that a refused command changed none of them.
std::vector<std::vector<std::uint8_t>> Contents(const test::TempDir& dir,
                                                const std::vector<std::string>& names) {
  std::vector<std::vector<std::uint8_t>> contents;
  for (const std::string& name : names) contents.push_back(ReadFile(dir / name));
  return contents;
}

TEST_F(CliFileCommands, NoOutputReplacesACardFileInUse) {
  Write(TwoSaves(), "card.dcm");
  std::filesystem::create_hard_link(dir / "card.dcm", dir / "hard.dcm");
  std::filesystem::create_symlink("card.dcm", dir / "soft.dcm");
  std::filesystem::create_directories(dir / "unit");
  Write(TwoSaves(), "unit/slot1.dcm");
  std::filesystem::create_symlink("unit/slot1.dcm", dir / "slot.dcm");
  Write(TwoSaves(), "notes.txt");
  const auto before = Contents(dir, {"card.dcm", "unit/slot1.dcm", "notes.txt"});
  for (const std::string out : {"card.dcm", "./card.dcm", "hard.dcm", "soft.dcm"}) {
    for (const std::string command :
         {"export card.dcm DATA________ ", "icon card.dcm GAME________ "}) {
      const CliResult run = Cli(command + out);
      EXPECT_EQ(run.status, 1) << command << out;
      EXPECT_NE(run.err.find(out + ": is a card file in use"), std::string::npos) << run.err;
    }
  }
  const std::vector<std::pair<std::string, std::string>> refusals = {
      {"export slot1 DATA________ unit/slot1.dcm", "unit/slot1.dcm: is a card file in use"},
      {"icon slot1 GAME________ slot.dcm", "slot.dcm: is a card file in use"},
      {"dump slot1 unit/slot1.dcm", "unit/slot1.dcm: is a card file in use"},
      {"--trace unit/slot1.dcm list slot1", "unit/slot1.dcm: exists and is not a trace"},
      {"--trace notes.txt list slot1", "notes.txt: exists and is not a trace"},
  };
  for (const auto& [command, reason] : refusals) {
    const CliResult run = Cli("--virtual-unit unit " + command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
  }
  EXPECT_EQ(Contents(dir, {"card.dcm", "unit/slot1.dcm", "notes.txt"}), before);
  // A trace replaces an earlier trace.
  ASSERT_EQ(Cli("--virtual-unit unit --trace t.txt list slot1").status, 0);
  ASSERT_EQ(Cli("--virtual-unit unit --trace t.txt list slot1").status, 0);
  EXPECT_EQ(Text("t.txt").substr(0, 10), "W 037A 00\n");
}

TEST_F(CliFileCommands, ACardHeldByAnotherProgramIsNotChanged) {
  Write(TwoSaves(), "card.dcm");
  std::filesystem::create_directories(dir / "unit");
  Write(TwoSaves(), "unit/slot1.dcm");
  Write(TwoSaves(), "unit/slot2.dcm");
  const std::vector<std::string> cards = {"card.dcm", "unit/slot1.dcm", "unit/slot2.dcm"};
  const auto before = Contents(dir, cards);
  {
    // Another program (here: this test) writes the image and the first virtual card.
    CardImage image;
    ASSERT_TRUE(OpenImageFile(image, Path("card.dcm")));
    const int slot1 = ::open(Path("unit/slot1.dcm").c_str(), O_RDWR);
    ASSERT_EQ(::flock(slot1, LOCK_EX), 0);
    for (const std::string command :
         {"delete card.dcm DATA________", "list card.dcm",
          "--virtual-unit unit format slot1 --blocks 200", "--virtual-unit unit list slot1"}) {
      const CliResult run = Cli(command);
      EXPECT_EQ(run.status, 1) << command;
      EXPECT_NE(run.err.find("in use by another program"), std::string::npos) << run.err;
    }
    EXPECT_NE(Cli("--virtual-unit unit list slot1").err.find("slot1.dcm: in use"),
              std::string::npos);
    const CliResult other = Cli("--virtual-unit unit delete slot2 DATA________");
    EXPECT_EQ(other.status, 0) << other.err;
    ::close(slot1);
  }
  Write(TwoSaves(), "unit/slot2.dcm");
  {
    // Readers share: a program that only reads lets another read too, but not write.
    CardImage image;
    ASSERT_TRUE(OpenImageFile(image, Path("card.dcm"), ImageAccess::kRead));
    EXPECT_EQ(Cli("list card.dcm").status, 0);
    EXPECT_EQ(Cli("export card.dcm DATA________ data.dci").status, 0);
    EXPECT_EQ(Cli("delete card.dcm DATA________").status, 1);
  }
  EXPECT_EQ(Contents(dir, cards), before);
}

TEST_F(CliFileCommands, CardFileWriteFailuresAndLostTracesFailTheCommand) {
  std::filesystem::create_directories(dir / "unit");
  Write(CardBuilder(200), "unit/slot1.dcm");
  Write(TwoSaves(), "image.dcm");
  // Writes beyond 64 blocks of 512 or 1024 bytes (as the shell counts) fail, as on a full disk.
  const std::string full_disk = "trap '' XFSZ; ulimit -f 64;";
  // The journal of the restore (the card's 256 old blocks) does not fit either: the command
  // stops before the card is written.
  const std::vector<std::uint8_t> card = test::ReadFile(dir / "unit/slot1.dcm");
  const CliResult journalled = Cli("--virtual-unit unit restore slot1 image.dcm", full_disk);
  EXPECT_EQ(journalled.status, 1);
  EXPECT_NE(journalled.err.find("the journal of card writes could not be written; nothing was"),
            std::string::npos)
      << journalled.err;
  EXPECT_EQ(test::ReadFile(dir / "unit/slot1.dcm"), card);
  for (const std::string command : {"format slot1 --blocks 241", "restore slot1 image.dcm"}) {
    const CliResult run = Cli("--no-journal --virtual-unit unit " + command, full_disk);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find("slot1.dcm: the write did not reach the file"), std::string::npos)
        << run.err;
  }
  Write(TwoSaves(), "unit/slot1.dcm");
  const CliResult lost = Cli("--virtual-unit unit --trace t.txt list slot1", full_disk);
  EXPECT_EQ(lost.status, 1);
  EXPECT_NE(lost.err.find("quorvel-cli: t.txt: the trace file cannot be written"),
            std::string::npos)
      << lost.err;
}

TEST_F(CliFileCommands, ReadOnlyCardsAreReadAndNeverWritten) {
  namespace fs = std::filesystem;
  Write(TwoSaves(), "card.dcm");
  fs::create_directories(dir / "unit");
  Write(TwoSaves(), "unit/slot1.dcm");
  Write(TwoSaves(), "unit/slot2.dcm");
  const fs::perms read_only =
      fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const fs::perms read_write =
      read_only | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(dir / "card.dcm", read_only);
  fs::permissions(dir / "unit/slot1.dcm", read_only);
  fs::permissions(dir / "unit/slot2.dcm", read_write);
  fs::permissions(dir.path(), fs::perms::all);  // the ordinary user writes its output there
  const auto before = Contents(dir, {"card.dcm", "unit/slot1.dcm"});
  // Permissions do not bind the superuser: the commands run as an ordinary user.
  const int failed = quorvel::testing::RunUnprivileged([&]() -> int {
    if (Cli("list card.dcm").out.find("DATA________") == std::string::npos) return 1;
    if (Cli("export card.dcm DATA________ data.dci").status != 0) return 2;
    const CliResult refused = Cli("delete card.dcm DATA________");
    if (refused.status != 1 ||
        refused.err.find("card.dcm: the file is read-only") == std::string::npos) {
      return 4;
    }
    if (Cli("--virtual-unit unit list slot1").status != 0) return 5;
    if (Cli("--virtual-unit unit format slot2 --blocks 200").status != 0) return 6;
    if (Cli("--virtual-unit unit copy card.dcm DATA________ slot2").status != 0) return 3;
    const CliResult slot = Cli("--virtual-unit unit format slot1 --blocks 200");
    if (slot.status != 1 || slot.err.find("slot1.dcm is read-only") == std::string::npos) return 7;
    return 0;
  });
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(Contents(dir, {"card.dcm", "unit/slot1.dcm"}), before);
}

}  // namespace
}  // namespace quorvel

#endif  // QUORVEL_CLI_PATH
