// The journal of card writes: every command's old blocks recorded before it writes, undo that
// gives the card back byte for byte, and the faults undo and recording must refuse.
#include "card/journal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "card/block_io.h"
#include "card/card_fixture.h"
#include "card/card_texts.h"
#include "card/dci_file.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/save_commands.h"

namespace quorvel {
namespace {

using test::CardBuilder;
using Outcome = UndoResult::Outcome;

CardBuilder TwoSaves() {
  CardBuilder builder;
  builder.AddSave(0, "FIRST", {199, 198, 197});
  builder.AddSave(1, "SECOND", {196, 195});
  return builder;
}

class JournalTest : public ::testing::Test {
 protected:
  JournalTest() {
    env.messages = &messages;
    env.journal = &journal;
  }
  void SetUp() override {
    test::OpenBuilt(card, TwoSaves(), dir);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  std::vector<std::uint8_t> Image() const { return test::ReadFile(dir / "card.dcm"); }
  JournalFile History() { return CardJournal(card, journal); }
  std::filesystem::path JournalPath() {
    CardKey key = 0;
    CardJournal(card, journal, &key);
    return journal.FileOf(key);
  }
  void Overwrite(int block, std::uint8_t value) {
    std::fstream file(dir / "card.dcm", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(block * 512 + 100);
    file.put(static_cast<char>(value));
  }

 public:  // the command tables below run commands on the fixture's card
  test::TempDir dir;
  test::RecordingMessages messages;
  Journal journal{{.folder = dir / "journal"}};
  CardEnvironment env;
  CardImage card{kSourceImage, &env};
};

// Each command, then undo: the image is back byte for byte; undoing the undo redoes it.
struct RoundTrip {
  const char* name;
  std::function<void(JournalTest&)> run;
};

class JournalRoundTrip : public JournalTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(JournalRoundTrip, UndoGivesTheCardBackAndUndoingTheUndoRedoesIt) {
  const std::vector<std::uint8_t> before = Image();
  GetParam().run(*this);
  const std::vector<std::uint8_t> after = Image();
  ASSERT_NE(after, before);
  const JournalFile history = History();
  ASSERT_EQ(history.status, JournalFile::Status::kOk);
  ASSERT_EQ(history.entries.size(), 1u);
  EXPECT_TRUE(history.entries[0].finished);
  EXPECT_TRUE(history.entries[0].succeeded);

  const UndoResult undone = UndoCommands(card, journal);
  ASSERT_EQ(undone.outcome, Outcome::kDone) << Describe(undone);
  EXPECT_EQ(Image(), before);
  EXPECT_EQ(History().entries.back().command.name, "undo 1");

  ASSERT_EQ(UndoCommands(card, journal).outcome, Outcome::kDone);
  EXPECT_EQ(Image(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, JournalRoundTrip,
    ::testing::Values(
        RoundTrip{"Format", [](JournalTest& t) { ASSERT_TRUE(FormatCardCommand(t.card, 241)); }},
        RoundTrip{"Delete",
                  [](JournalTest& t) {
                    const std::size_t index = 1;
                    ASSERT_TRUE(DeleteSavesCommand(t.card, std::span(&index, 1)));
                  }},
        RoundTrip{"Replace",
                  [](JournalTest& t) {
                    std::vector<std::uint8_t> save;
                    ASSERT_EQ(BuildDci(t.card, 0, save), DciExportError::kNone);
                    save[40] ^= 0xFF;  // new contents under the same name
                    const StoreResult stored =
                        ImportSaveCommand(t.card, save, FixedAnswers(/*replace=*/true));
                    ASSERT_TRUE(stored.Stored()) << Describe(stored);
                  }},
        RoundTrip{"Restore",
                  [](JournalTest& t) {
                    CardBuilder other(241);
                    other.AddSave(0, "OTHER", {240, 239});
                    other.WriteTo(t.dir / "other.dcm");
                    ASSERT_EQ(RestoreCardFromFile(t.card, t.dir / "other.dcm"), DcmError::kNone);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JournalTest, UndoToAnEarlierCommandUndoesEveryCommandAfterIt) {
  const std::vector<std::uint8_t> before = Image();
  const std::size_t first = 0;
  ASSERT_TRUE(DeleteSavesCommand(card, std::span(&first, 1)));
  ASSERT_TRUE(FormatCardCommand(card, 200));
  ASSERT_EQ(History().entries.size(), 2u);
  const UndoResult undone = UndoCommands(card, journal, 1);
  ASSERT_EQ(undone.outcome, Outcome::kDone) << Describe(undone);
  EXPECT_EQ(undone.undone, (std::vector<std::uint64_t>{2, 1}));
  EXPECT_EQ(Image(), before);
  EXPECT_EQ(UndoCommands(card, journal, 9).outcome, Outcome::kNoSuchCommand);
}

// A block the command wrote was changed afterwards (by another program, or by the console):
// undo names it and writes nothing.
TEST_F(JournalTest, UndoRefusesWhenAWrittenBlockChangedSince) {
  const std::size_t first = 0;
  ASSERT_TRUE(DeleteSavesCommand(card, std::span(&first, 1)));
  Overwrite(kDirectoryBlock, 0x42);
  const std::vector<std::uint8_t> changed = Image();
  const UndoResult undone = UndoCommands(card, journal);
  EXPECT_EQ(undone.outcome, Outcome::kChanged);
  EXPECT_EQ(undone.changed_blocks, std::vector<std::uint8_t>{kDirectoryBlock});
  EXPECT_NE(Describe(undone).find("253"), std::string::npos) << Describe(undone);
  EXPECT_EQ(Image(), changed);
}

// twin.dcm: a copy of the fixture's card as it is now (the same root, so the same journal),
// with a save imported unrecorded, so that its directory and FAT are its own.
void MakeTwinWithASave(JournalTest& t, CardImage& twin) {
  std::filesystem::copy_file(t.dir / "card.dcm", t.dir / "twin.dcm");
  ASSERT_TRUE(OpenImageFile(twin, (t.dir / "twin.dcm").string()));
  ASSERT_EQ(LoadCard(twin), LoadResult::kLoaded);
  std::vector<std::uint8_t> save;
  CardImage source{kSourceImage, &t.env};
  CardBuilder third;
  third.AddSave(0, "THIRD", {190});
  test::OpenBuilt(source, third, t.dir, "source.dcm");
  ASSERT_EQ(LoadCard(source), LoadResult::kLoaded);
  ASSERT_EQ(BuildDci(source, 0, save), DciExportError::kNone);
  Journal off{{.folder = t.dir / "journal", .record = false}};
  t.env.journal = &off;
  ASSERT_TRUE(ImportSaveCommand(twin, save, {}).Stored());
  t.env.journal = &t.journal;
}

// Another card: its root names no journal, or (a card of the same root) its blocks are not
// what the command wrote.
TEST_F(JournalTest, UndoOnAnotherCardIsRefused) {
  ASSERT_TRUE(FormatCardCommand(card, 241));
  CardBuilder other_root;
  other_root.Logical(kRootBlock)[0x31] = 0x42;  // another format time stamp
  CardImage other{kSourceImage, &env};
  test::OpenBuilt(other, other_root, dir, "other.dcm");
  EXPECT_EQ(UndoCommands(other, journal).outcome, Outcome::kNoJournal);

  // The same root as the card after its format, with a save the format would have erased.
  CardImage twin{kSourceImage, &env};
  MakeTwinWithASave(*this, twin);
  const std::vector<std::uint8_t> twin_bytes = test::ReadFile(dir / "twin.dcm");
  EXPECT_EQ(UndoCommands(twin, journal).outcome, Outcome::kChanged);
  EXPECT_EQ(test::ReadFile(dir / "twin.dcm"), twin_bytes);
}

// A journal file that is cut short, damaged or of another version is reported, never applied,
// and set aside when the next command records.
struct BadFile {
  const char* name;
  std::function<void(std::vector<std::uint8_t>&)> spoil;
  JournalFile::Status status;
  std::string_view damage;  // as the user is told it
};

class JournalBadFile : public JournalTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(JournalBadFile, IsReportedAndIgnored) {
  const std::size_t first = 0;
  ASSERT_TRUE(DeleteSavesCommand(card, std::span(&first, 1)));
  const std::filesystem::path path = JournalPath();
  std::vector<std::uint8_t> bytes = test::ReadFile(path);
  GetParam().spoil(bytes);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const std::vector<std::uint8_t> image = Image();

  const JournalFile read = History();
  EXPECT_EQ(read.status, GetParam().status);
  EXPECT_TRUE(read.entries.empty()) << "the records before the damage came with it";
  const UndoResult undone = UndoCommands(card, journal);
  EXPECT_EQ(undone.outcome, Outcome::kBadJournal);
  EXPECT_EQ(Image(), image);

  const std::size_t second = 1;
  ASSERT_TRUE(DeleteSavesCommand(card, std::span(&second, 1)));
  ASSERT_FALSE(messages.informed.empty());
  EXPECT_EQ(messages.informed.back(),
            FillText(kJournalSetAsideText,
                     {path.string(), GetParam().damage, path.string() + ".damaged"}));
  EXPECT_TRUE(std::filesystem::exists(path.string() + ".damaged"));
  const JournalFile fresh = History();
  ASSERT_EQ(fresh.status, JournalFile::Status::kOk);
  ASSERT_EQ(fresh.entries.size(), 1u);
  EXPECT_EQ(fresh.entries[0].command.saves, std::vector<std::string>{"SECOND"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, JournalBadFile,
    ::testing::Values(BadFile{"Truncated", [](auto& b) { b.resize(b.size() - 7); },
                              JournalFile::Status::kTruncated, kJournalTruncatedText},
                      BadFile{"HeaderOnlyHalf", [](auto& b) { b.resize(10); },
                              JournalFile::Status::kTruncated, kJournalTruncatedText},
                      BadFile{"FlippedByteInABlockRecord", [](auto& b) { b[b.size() / 2] ^= 0x01; },
                              JournalFile::Status::kCorrupt, kJournalCorruptText},
                      BadFile{"OtherVersion", [](auto& b) { b[8] = 2; },
                              JournalFile::Status::kOtherVersion, kJournalOtherVersionText},
                      BadFile{"NotAJournal", [](auto& b) { b[0] = 'X'; },
                              JournalFile::Status::kCorrupt, kJournalCorruptText}),
    [](const auto& info) { return std::string(info.param.name); });

// The journal folder cannot be used: the command writes nothing and says why.
struct BadFolder {
  const char* name;
  std::function<void(const std::filesystem::path& folder, const std::filesystem::path& dir)> plant;
};

class JournalBadFolder : public JournalTest, public ::testing::WithParamInterface<BadFolder> {};

TEST_P(JournalBadFolder, StopsTheCommandBeforeAnyWrite) {
  GetParam().plant(dir / "journal", dir.path());
  const std::vector<std::uint8_t> before = Image();
  EXPECT_FALSE(FormatCardCommand(card, 241));
  const std::size_t first = 0;
  EXPECT_FALSE(DeleteSavesCommand(card, std::span(&first, 1)));
  std::vector<std::uint8_t> save;
  ASSERT_EQ(BuildDci(card, 1, save), DciExportError::kNone);
  save[4] = 'Z';  // a new name
  EXPECT_FALSE(ImportSaveCommand(card, save, {}).Stored());
  CardBuilder other(241);
  other.WriteTo(dir / "other.dcm");
  EXPECT_EQ(RestoreCardFromFile(card, dir / "other.dcm"), DcmError::kNotRecorded);
  EXPECT_EQ(Image(), before);
  ASSERT_FALSE(messages.informed.empty());
  EXPECT_NE(messages.informed[0].find("無法寫入變更記錄"), std::string::npos)
      << messages.informed[0];
}

INSTANTIATE_TEST_SUITE_P(Faults, JournalBadFolder,
                         ::testing::Values(BadFolder{"AFileAtItsName",
                                                     [](const auto& folder, const auto&) {
                                                       std::ofstream(folder) << "x";
                                                     }},
                                           BadFolder{"ALinkPlantedAtItsName",
                                                     [](const auto& folder, const auto& dir) {
                                                       std::filesystem::create_directory(
                                                           dir / "elsewhere");
                                                       ::chmod((dir / "elsewhere").c_str(), 0700);
                                                       std::filesystem::create_directory_symlink(
                                                           dir / "elsewhere", folder);
                                                     }},
                                           BadFolder{"AFolderOthersMayEnter",
                                                     [](const auto& folder, const auto&) {
                                                       std::filesystem::create_directory(folder);
                                                       ::chmod(folder.c_str(), 0777);
                                                     }}),
                         [](const auto& info) { return std::string(info.param.name); });

// A link planted at the journal file's name is set aside, never written through.
TEST_F(JournalTest, ALinkAtTheJournalFileIsNotFollowed) {
  std::string error;
  const CardKey key = [&] {
    CardKey found = 0;
    CardJournal(card, journal, &found);
    return found;
  }();
  std::filesystem::create_directory(dir / "journal");
  ::chmod((dir / "journal").c_str(), 0700);
  std::ofstream(dir / "victim") << "keep";
  std::filesystem::create_symlink(dir / "victim", journal.FileOf(key));
  const std::size_t first = 0;
  ASSERT_TRUE(DeleteSavesCommand(card, std::span(&first, 1)));
  EXPECT_EQ(dir.Read("victim"), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(journal.FileOf(key)));
  EXPECT_EQ(History().entries.size(), 1u);
}

TEST_F(JournalTest, KeepsOnlyTheNewestCommands) {
  journal.MutableOptions().max_commands = 3;
  for (int round = 0; round < 5; ++round) {
    const std::size_t index = round % 2;
    ASSERT_TRUE(DeleteSavesCommand(card, std::span(&index, 1)));
    ASSERT_EQ(UndoCommands(card, journal).outcome, Outcome::kDone);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  const JournalFile history = History();
  ASSERT_EQ(history.entries.size(), 3u);
  EXPECT_EQ(history.entries.front().number, 8u);
  EXPECT_EQ(history.entries.back().number, 10u);

  journal.MutableOptions().max_commands = 50;
  journal.MutableOptions().max_bytes = 20000;  // room for about one whole save's blocks
  for (int round = 0; round < 4; ++round) {
    const std::size_t index = 0;
    ASSERT_TRUE(DeleteSavesCommand(card, std::span(&index, 1)));
    ASSERT_EQ(UndoCommands(card, journal).outcome, Outcome::kDone);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  }
  EXPECT_LE(std::filesystem::file_size(JournalPath()), 20000u);
}

TEST_F(JournalTest, ACommandThatWritesNothingLeavesNoRecord) {
  std::vector<std::uint8_t> save;
  ASSERT_EQ(BuildDci(card, 0, save), DciExportError::kNone);
  EXPECT_TRUE(ImportSaveCommand(card, save, FixedAnswers(false)).declined);
  EXPECT_EQ(History().status, JournalFile::Status::kMissing);
  const std::size_t first = 0;
  ASSERT_TRUE(DeleteSavesCommand(card, std::span(&first, 1)));
  EXPECT_TRUE(
      ImportSaveCommand(card, std::vector<std::uint8_t>(save.begin(), save.begin() + 40), {})
          .file != DciImportResult::File::kOk);
  EXPECT_EQ(History().entries.size(), 1u);
}

// The program died between the journal record and the last block write: the record has no
// end mark, and undo puts back exactly what was there before.
TEST_F(JournalTest, AnInterruptedCommandIsPutBackExactly) {
  const std::vector<std::uint8_t> before = Image();
  {
    Journal killed{{.folder = dir / "journal"}};
    env.journal = &killed;
    std::string error;
    ASSERT_TRUE(killed.Begin(card, {"restore", {}, CommandScale::kWholeCard}, {}, error));
    Block noise;
    noise.fill(0xA5);
    for (int block : {3, 198, int{kFatBlock}}) {
      ASSERT_TRUE(WriteBlock(card, static_cast<std::uint8_t>(block), noise));
    }
  }  // gone without End
  env.journal = &journal;
  const JournalFile history = History();
  ASSERT_EQ(history.entries.size(), 1u);
  EXPECT_FALSE(history.entries[0].finished);
  const UndoResult undone = UndoCommands(card, journal);
  ASSERT_EQ(undone.outcome, Outcome::kDone) << Describe(undone);
  EXPECT_EQ(Image(), before);
}

// Killed while a block crossed the link in parts: block 3, recorded before the command's first
// write, holds its new data, the FAT its new data in its first half only, and the journal
// record has no end mark.
void InterruptInsideABlock(JournalTest& t) {
  Journal killed{{.folder = t.dir / "journal"}};
  t.env.journal = &killed;
  std::string error;
  const std::vector<std::uint8_t> declared = {3, 198, kFatBlock};
  ASSERT_TRUE(killed.Begin(t.card, {"restore", {}, CommandScale::kWholeCard}, declared, error));
  Block noise;
  noise.fill(0xA5);
  ASSERT_TRUE(WriteBlock(t.card, 3, noise));
  std::fstream file(t.dir / "card.dcm", std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(std::streamoff{kFatBlock} * 512);
  file.write(reinterpret_cast<const char*>(noise.data()), 256);
  t.env.journal = &t.journal;
}  // gone without End

TEST_F(JournalTest, AnInterruptedCommandStoppedInsideABlockIsPutBackExactly) {
  const std::vector<std::uint8_t> before = Image();
  InterruptInsideABlock(*this);
  ASSERT_EQ(History().entries.size(), 1u);
  EXPECT_FALSE(History().entries[0].finished);
  const UndoResult undone = UndoCommands(card, journal);
  ASSERT_EQ(undone.outcome, Outcome::kDone) << Describe(undone);
  EXPECT_EQ(Image(), before);
}

// An interrupted command's blocks cannot be checked, so they go back only onto the card it ran
// on, never onto another card of the same root and journal.
TEST_F(JournalTest, AnInterruptedCommandIsNotPutBackOnAnotherCardOfTheSameRoot) {
  CardImage twin{kSourceImage, &env};
  MakeTwinWithASave(*this, twin);
  InterruptInsideABlock(*this);
  const std::vector<std::uint8_t> twin_bytes = test::ReadFile(dir / "twin.dcm");
  EXPECT_EQ(UndoCommands(twin, journal).outcome, Outcome::kBrokenChain);
  EXPECT_EQ(test::ReadFile(dir / "twin.dcm"), twin_bytes);
  EXPECT_EQ(UndoCommands(card, journal).outcome, Outcome::kDone) << "its own card still can";
}

// The commands after an interrupted one are still checked: a block one of them wrote that
// holds something else now stops the undo, and nothing is written.
TEST_F(JournalTest, CommandsAfterAnInterruptedOneAreStillChecked) {
  InterruptInsideABlock(*this);
  Block data;
  data.fill(0x3C);
  ASSERT_TRUE(WriteBlock(card, 197, data));  // recorded as a command of its own
  Overwrite(197, 0x5A);
  const std::vector<std::uint8_t> changed = Image();
  const UndoResult undone = UndoCommands(card, journal, 1);
  EXPECT_EQ(undone.outcome, Outcome::kChanged) << Describe(undone);
  EXPECT_EQ(undone.changed_blocks, std::vector<std::uint8_t>{197});
  EXPECT_EQ(Image(), changed);
}

TEST_F(JournalTest, TheJournalFollowsACardWhoseRootChanged) {
  CardBuilder other(241);
  other.Logical(kRootBlock)[0x31] = 0x77;
  other.WriteTo(dir / "other.dcm");
  const std::filesystem::path old_path = JournalPath();
  ASSERT_EQ(RestoreCardFromFile(card, dir / "other.dcm"), DcmError::kNone);
  EXPECT_FALSE(std::filesystem::exists(old_path));
  EXPECT_NE(JournalPath(), old_path);
  EXPECT_EQ(History().entries.size(), 1u);
}

// A card just loaded finds its journal without a read of its own: the root in the model
// names the same file as the root on the card, also after a command renamed it.
TEST_F(JournalTest, TheLoadedRootNamesTheSameJournalAsTheCard) {
  ASSERT_TRUE(FormatCardCommand(card, 241));
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  CardKey read = 0;
  CardKey loaded = 0;
  const JournalFile from_card = CardJournal(card, journal, &read);
  const JournalFile from_model = LoadedCardJournal(card, journal, &loaded);
  EXPECT_EQ(loaded, read);
  ASSERT_EQ(from_model.status, JournalFile::Status::kOk);
  ASSERT_EQ(from_model.entries.size(), 1u);
  EXPECT_EQ(from_model.entries[0].command.name, from_card.entries[0].command.name);
}

// A paged card's commands are named by the page it was read from, until it is read from no
// page again.
TEST_F(JournalTest, TheSourceNamesThePageOfAPagedCard) {
  journal.SetPage(card, 3);
  ASSERT_TRUE(FormatCardCommand(card, 241));
  journal.SetPage(card, std::nullopt);
  ASSERT_TRUE(FormatCardCommand(card, 200));
  const JournalFile history = History();
  ASSERT_EQ(history.entries.size(), 2u);
  EXPECT_EQ(history.entries[0].source, "page 3");
  EXPECT_EQ(history.entries[1].source, std::filesystem::absolute(dir / "card.dcm").string());
}

TEST_F(JournalTest, SwitchedOffRecordsNothing) {
  journal.MutableOptions().record = false;
  ASSERT_TRUE(FormatCardCommand(card, 241));
  EXPECT_FALSE(std::filesystem::exists(dir / "journal"));
  EXPECT_EQ(UndoCommands(card, journal).outcome, Outcome::kNoJournal);
}

// Verify after write: a card that does not keep what it is sent is caught, retried and
// reported with the block number; the directory is not written after it.
class WeakCell : public test::ScriptedSlots {
 public:
  int bad_slot = 0;
  int bad_block = -1;
  int bad_writes = 0;  // how many more writes of bad_block land with a flipped bit
  bool WriteSlotBlock(std::uint8_t slot, std::uint8_t block,
                      std::span<const std::uint8_t, kBlockSize> data) override {
    if (!ScriptedSlots::WriteSlotBlock(slot, block, data)) return false;
    if (slot == bad_slot && block == bad_block && bad_writes > 0) {
      --bad_writes;
      cards[slot][block * kBlockSize + 7] ^= 0x10;
    }
    return true;
  }
};

class JournalVerify : public ::testing::Test {
 protected:
  void SetUp() override {
    env.link = &slots;
    env.messages = &messages;
    env.journal = &journal;
    slots.cards[0] = TwoSaves().Bytes();
    slots.cards[1] = TwoSaves().Bytes();
    ASSERT_EQ(LoadCard(slot), LoadResult::kLoaded);
  }
  test::TempDir dir;
  WeakCell slots;
  test::RecordingMessages messages;
  Journal journal{{.folder = dir / "journal"}};
  CardEnvironment env;
  CardImage slot{kSourceSlot1, &env};
};

TEST_F(JournalVerify, AMismatchIsRetriedThenReportedWithTheBlockNumber) {
  const std::vector<std::uint8_t> image = TwoSaves().Bytes();
  // A flaky cell: two bad writes, the third holds.
  slots.bad_block = 0;
  slots.bad_writes = 2;
  std::filesystem::create_directories(dir / "img");
  std::ofstream(dir / "img/other.dcm", std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  ASSERT_EQ(RestoreCardFromFile(slot, dir / "img/other.dcm"), DcmError::kNone);
  EXPECT_EQ(slots.cards[0], image);

  // A dead cell: the restore stops at that block, before the FAT, directory and root.
  slots.cards[0] = CardBuilder(241).Bytes();
  const std::vector<std::uint8_t> before = slots.cards[0];
  slots.bad_block = 100;
  slots.bad_writes = 1000;
  EXPECT_EQ(RestoreCardFromFile(slot, dir / "img/other.dcm"), DcmError::kCardWriteFailed);
  ASSERT_FALSE(messages.informed.empty());
  EXPECT_EQ(messages.informed.back(), VerifyFailureMessage(100));
  EXPECT_TRUE(
      std::equal(before.begin() + 241 * 512, before.end(), slots.cards[0].begin() + 241 * 512));
  // Undo puts back what the failed restore wrote, the weak block included.
  slots.bad_writes = 0;
  ASSERT_EQ(UndoCommands(slot, journal).outcome, Outcome::kDone);
  EXPECT_EQ(slots.cards[0], before);
}

TEST_F(JournalVerify, SingleSavesAreReadBackOnlyWhenAsked) {
  CardImage twin{kSourceSlot2, &env};
  ASSERT_EQ(LoadCard(twin), LoadResult::kLoaded);
  const std::size_t first = 0;
  ASSERT_TRUE(DeleteSavesCommand(twin, std::span(&first, 1)));  // slot 2 keeps what it is sent

  slots.bad_slot = 0;
  slots.bad_block = kDirectoryBlock;
  slots.bad_writes = 1;
  ASSERT_TRUE(DeleteSavesCommand(slot, std::span(&first, 1)));
  EXPECT_NE(slots.cards[0], slots.cards[1]);  // not read back: the flipped bit stays

  slots.cards[0] = TwoSaves().Bytes();
  ASSERT_EQ(LoadCard(slot), LoadResult::kLoaded);
  journal.MutableOptions().verify_single_saves = true;
  slots.bad_writes = 1;
  ASSERT_TRUE(DeleteSavesCommand(slot, std::span(&first, 1)));
  EXPECT_EQ(slots.cards[0], slots.cards[1]);
}

}  // namespace
}  // namespace quorvel
