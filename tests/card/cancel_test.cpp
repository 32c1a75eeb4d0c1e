// Stopping long card commands on request: each stops only where the card is consistent, and
// leaves it (and any file it would have written) as the outcome it reports says.
#include "card/cancel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "card/card_check.h"
#include "card/card_fixture.h"
#include "card/dci_file.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/save_commands.h"

namespace quorvel {
namespace {

using test::CardBuilder;

CardBuilder TwoSaves() {
  CardBuilder builder;
  builder.AddSave(0, "FIRST", {199, 198, 197});
  builder.AddSave(1, "SECOND", {196, 195});
  return builder;
}

// The request is made at the n-th progress report of the command (the first comes before any
// block moves, each further one after a whole block), as a Cancel button pressed meanwhile.
class CancelTest : public ::testing::Test {
 protected:
  CancelTest() {
    reports.progress = [this](int, int maximum) {
      if (maximum > 0 && ++reports_seen == request_at) cancel.Request();
    };
    env.messages = &messages;
    env.journal = &journal;
    env.reports = &reports;
    env.cancel = &cancel;
  }
  void SetUp() override {
    test::OpenBuilt(card, TwoSaves(), dir);
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    before = Image();
  }
  void RequestAt(int report) {
    reports_seen = 0;
    request_at = report;
  }
  std::vector<std::uint8_t> Image() const { return test::ReadFile(dir / "card.dcm"); }
  std::set<std::filesystem::path> Files() const {
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      files.insert(entry.path());
    }
    return files;
  }
  // The saves a card lists, by name, and that its check finds nothing.
  std::vector<std::string> Listed(CardImage& which) {
    std::vector<std::string> names;
    if (LoadCard(which) != LoadResult::kLoaded) return {"<does not load>"};
    for (int k = 0; k < which.listed_count; ++k) {
      names.push_back(which.records[which.list_order[k]].name);
    }
    for (const std::string& problem : CheckCard(which)) names.push_back("problem: " + problem);
    return names;
  }

  test::TempDir dir;
  test::RecordingMessages messages;
  Journal journal{{.folder = dir / "journal"}};
  Reports reports;
  CancelRequest cancel;
  int reports_seen = 0;
  int request_at = -1;
  CardEnvironment env;
  CardImage card{kSourceImage, &env};
  std::vector<std::uint8_t> before;
};

struct RestoreStop {
  const char* name;
  int request_at;  // progress report at which Cancel is pressed
  bool journal_on;
  CancelOutcome outcome;
  bool restored;  // the card holds the image afterwards (else it is as it was)
};

class CancelRestore : public CancelTest, public ::testing::WithParamInterface<RestoreStop> {};

TEST_P(CancelRestore, LeavesTheCardAsItWasOrRestoresItWhole) {
  const RestoreStop& stop = GetParam();
  journal.MutableOptions().record = stop.journal_on;
  CardBuilder other;
  other.AddSave(0, "OTHER", {199, 198, 197, 196, 195, 194});
  other.Logical(0)[7] = 0x42;  // block 0, the first written, differs too
  other.WriteTo(dir / "in.dcm");
  RequestAt(stop.request_at);
  const DcmError result = RestoreCardFromFile(card, dir / "in.dcm");
  EXPECT_EQ(cancel.Outcome(), stop.outcome);
  if (stop.restored) {
    EXPECT_EQ(result, DcmError::kNone);
    EXPECT_TRUE(Image() == other.Bytes());
  } else {
    EXPECT_EQ(result, DcmError::kCancelled);
    EXPECT_TRUE(Image() == before) << "the card is not as it was";
  }
  if (stop.outcome == CancelOutcome::kPutBack) {
    // The put-back is the journal's undo of the stopped restore, and can itself be undone.
    const JournalFile history = CardJournal(card, journal);
    ASSERT_EQ(history.entries.size(), 2u);
    EXPECT_FALSE(history.entries[0].succeeded);
    EXPECT_EQ(history.entries[1].command.name, "undo 1");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stops, CancelRestore,
    ::testing::Values(
        RestoreStop{"BeforeTheFirstWrite", 1, true, CancelOutcome::kNothingWritten, false},
        RestoreStop{"AfterTheFirstBlock", 2, true, CancelOutcome::kPutBack, false},
        RestoreStop{"HalfWay", 129, true, CancelOutcome::kPutBack, false},
        RestoreStop{"JustBeforeTheRoot", 256, true, CancelOutcome::kPutBack, false},
        RestoreStop{"AfterTheLastBlock", 257, true, CancelOutcome::kNone, true},
        RestoreStop{"NoJournalBeforeTheFirstWrite", 1, false, CancelOutcome::kNothingWritten,
                    false},
        RestoreStop{"NoJournalHalfWayRunsToItsEnd", 129, false, CancelOutcome::kNone, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct CopyStop {
  const char* name;
  int request_at;
  CancelOutcome outcome;
};

class CancelCopy : public CancelTest, public ::testing::WithParamInterface<CopyStop> {};

TEST_P(CancelCopy, LeavesTheTargetListingWhatItListed) {
  CardImage target{kSourceImage, &env};
  CardBuilder empty;
  empty.AddSave(0, "KEPT", {199});
  test::OpenBuilt(target, empty, dir, "target.dcm");
  const std::vector<std::string> listed = Listed(target);
  ASSERT_EQ(listed.size(), 1u);
  RequestAt(GetParam().request_at);
  const StoreResult result = CopySaveCommand(card, 0, target, FixedAnswers(false));
  EXPECT_EQ(result.error, TransferError::kCancelled);
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(cancel.Outcome(), GetParam().outcome);
  cancel.Reset();
  EXPECT_EQ(Listed(target), listed);
  EXPECT_TRUE(Image() == before) << "the source was written";
}

INSTANTIATE_TEST_SUITE_P(
    Stops, CancelCopy,
    ::testing::Values(CopyStop{"BeforeTheFirstBlock", 1, CancelOutcome::kNothingWritten},
                      CopyStop{"AfterOneBlock", 2, CancelOutcome::kNothingStored},
                      CopyStop{"BeforeTheLastBlock", 3, CancelOutcome::kNothingStored}),
    [](const auto& info) { return std::string(info.param.name); });

// A replace that has to delete the old save before the new one fits: a stop while the new
// save is read deletes nothing; once the old save is gone the new one is stored whole.
class CancelReplace : public CancelTest {
 protected:
  void SetUp() override {
    CancelTest::SetUp();
    CardBuilder full;
    std::vector<std::uint8_t> filler;
    for (int block = 199; block >= 4; --block) filler.push_back(static_cast<std::uint8_t>(block));
    full.AddSave(0, "FILLER", filler);
    full.AddSave(1, "FIRST", {3, 2});  // 2 blocks free: the 3-block FIRST needs the old gone
    test::OpenBuilt(target, full, dir, "target.dcm");
    ASSERT_EQ(LoadCard(target), LoadResult::kLoaded);
    target_before = test::ReadFile(dir / "target.dcm");
  }
  CardImage target{kSourceImage, &env};
  std::vector<std::uint8_t> target_before;
};

TEST_F(CancelReplace, StoppedWhileTheSaveIsReadDeletesNothing) {
  RequestAt(1);  // after the first block read from the source
  const StoreResult result = CopySaveCommand(card, 0, target, FixedAnswers(true));
  EXPECT_EQ(result.error, TransferError::kCancelled);
  EXPECT_FALSE(result.written);
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingWritten);
  EXPECT_TRUE(test::ReadFile(dir / "target.dcm") == target_before);
}

TEST_F(CancelReplace, OnceTheOldSaveIsDeletedTheNewOneIsStoredWhole) {
  RequestAt(5);  // the source's 3 reads, the store's start, then its first block
  const StoreResult result = CopySaveCommand(card, 0, target, FixedAnswers(true));
  EXPECT_TRUE(result.Stored());
  EXPECT_TRUE(result.replaced);
  EXPECT_TRUE(cancel.Requested());
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNone);
  cancel.Reset();
  ASSERT_EQ(LoadCard(target), LoadResult::kLoaded);
  const std::optional<std::size_t> first = FindSaveByName(target, card.records[0].name);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(target.records[*first].size, 3);
  EXPECT_TRUE(CheckCard(target).empty());
}

TEST_F(CancelTest, AStoppedImportListsNothingNew) {
  std::vector<std::uint8_t> save;
  ASSERT_EQ(BuildDci(card, 0, save), DciExportError::kNone);
  CardImage target{kSourceImage, &env};
  test::OpenBuilt(target, CardBuilder(), dir, "target.dcm");
  ASSERT_EQ(LoadCard(target), LoadResult::kLoaded);
  RequestAt(2);  // the import's start, then after its first block
  const DciImportResult result = ImportDciBytes(target, save);
  EXPECT_EQ(result.placement, TransferError::kCancelled);
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingStored);
  cancel.Reset();
  EXPECT_TRUE(Listed(target).empty());
}

TEST_F(CancelTest, AStoppedBackupWritesNoFile) {
  for (int at : {1, 100}) {
    cancel.Reset();
    RequestAt(at);
    const auto files = Files();
    EXPECT_EQ(DumpCardToFile(card, dir / "backup.dcm"), DcmError::kCancelled) << at;
    EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingWritten);
    EXPECT_EQ(Files(), files) << "a file was left after a stop at report " << at;
  }
}

TEST_F(CancelTest, AStoppedExportWritesNoFile) {
  RequestAt(1);  // after the save's first block
  const auto files = Files();
  const SaveExport result = ExportSaveFile(card, 0, dir / "first.dci");
  EXPECT_EQ(result.save, DciExportError::kCancelled);
  EXPECT_EQ(Files(), files);
  std::vector<std::uint8_t> data;
  cancel.Reset();
  RequestAt(1);
  EXPECT_FALSE(ReadSaveData(card, 0, data));
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingWritten);
}

TEST_F(CancelTest, AStoppedLoadListsNothing) {
  for (int at : {1, 3}) {  // before the root; before the directory
    cancel.Reset();
    RequestAt(at);
    EXPECT_EQ(LoadCard(card), LoadResult::kFailed) << at;
    EXPECT_EQ(card.listed_count, 0);
    EXPECT_FALSE(card.link_failed);
    EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingWritten);
  }
}

TEST_F(CancelTest, AFormatStopsOnlyBeforeItsFirstWrite) {
  cancel.Request();
  EXPECT_FALSE(FormatCardCommand(card, 200));
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingWritten);
  EXPECT_TRUE(Image() == before);
  EXPECT_TRUE(card.root == test::LogicalBlock(before, kRootBlock)) << "the model was changed";
}

TEST(CancelRequest, TheFirstAnswerStaysAndAHoldDefersTheRequest) {
  CancelRequest cancel;
  CardEnvironment env{.cancel = &cancel};
  CardImage card{kSourceImage, &env};
  EXPECT_FALSE(StopRequested(card));
  cancel.Request();
  {
    const CancelHold hold(card);
    EXPECT_FALSE(StopRequested(card));
  }
  EXPECT_TRUE(StopRequested(card));
  AcknowledgeStop(card, CancelOutcome::kPutBack);
  AcknowledgeStop(card, CancelOutcome::kNothingWritten);  // a refresh after the stop
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kPutBack);
  cancel.Reset();
  EXPECT_FALSE(StopRequested(card));
  EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNone);
  CardImage alone;  // no environment: never stops
  EXPECT_FALSE(StopRequested(alone));
}

// Undo stops only before its first write: once the old blocks go back they go back whole
// (it is itself the way back), and a request made meanwhile is left unanswered.
struct UndoStop {
  const char* name;
  int request_at;  // progress report at which Cancel is pressed; 0: before the undo starts
  bool undone;
};

class CancelUndo : public CancelTest, public ::testing::WithParamInterface<UndoStop> {};

TEST_P(CancelUndo, StopsBeforeItsFirstWriteOrPutsTheCardBackWhole) {
  const UndoStop& stop = GetParam();
  ASSERT_TRUE(FormatCardCommand(card, 200));
  const std::vector<std::uint8_t> formatted = Image();
  cancel.Reset();
  bool held_while_writing = true;
  reports.progress = [&](int, int maximum) {
    if (maximum <= 0) return;
    held_while_writing = held_while_writing && cancel.Held();
    if (++reports_seen == request_at) cancel.Request();
  };
  RequestAt(stop.request_at);
  if (stop.request_at == 0) cancel.Request();
  const UndoResult result = UndoCommands(card, journal);
  if (stop.undone) {
    EXPECT_EQ(result.outcome, UndoResult::Outcome::kDone) << Describe(result);
    EXPECT_TRUE(Image() == before) << "not put back whole";
    EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNone);
    EXPECT_GT(reports_seen, 1) << "a report per block written back";
    EXPECT_TRUE(held_while_writing);
  } else {
    EXPECT_EQ(result.outcome, UndoResult::Outcome::kCancelled);
    EXPECT_EQ(Describe(result), "cancelled before anything was written");
    EXPECT_TRUE(Image() == formatted) << "the card was changed";
    EXPECT_EQ(cancel.Outcome(), CancelOutcome::kNothingWritten);
    EXPECT_EQ(CardJournal(card, journal).entries.size(), 1u) << "no undo recorded";
  }
}

INSTANTIATE_TEST_SUITE_P(Stops, CancelUndo,
                         ::testing::Values(UndoStop{"BeforeItStarts", 0, false},
                                           UndoStop{"AtItsFirstWrite", 1, true},
                                           UndoStop{"HalfWay", 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel
