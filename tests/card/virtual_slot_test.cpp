// The card layer on the slots of the virtual link unit: retries through the real protocol,
// whole-card loads that read each block once, and write operations checked afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/link_slots.h"
#include "card/save_commands.h"
#include "card/save_transfer.h"
#include "host/reports.h"
#include "link/link_device.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {
namespace {

using test::CardBuilder;

// A card with saves of several icon frames, and a game.
CardBuilder CardWithIcons() {
  CardBuilder builder;
  builder.AddSave(0, "GAME", {0, 1, 2, 3, 4}, true, 2, "GAME");
  builder.AddSave(1, "THREEFRAMES", {199, 198, 197}, false, 3, "THREE");
  builder.AddSave(2, "ONEFRAME", {196, 195}, false, 1, "ONE");
  builder.AddSave(3, "ICONDATA_VMS", {194}, false, 0, "LOGO");
  return builder;
}

class VirtualSlots : public ::testing::Test {
 protected:
  void Start(const CardBuilder& one, const CardBuilder& two) {
    one.WriteTo(dir / "slot1.dcm");
    two.WriteTo(dir / "slot2.dcm");
    std::string error;
    unit = VirtualUnit::TwoSlotFromFolder(std::filesystem::path(dir / "slot1.dcm").parent_path(),
                                          error);
    ASSERT_TRUE(unit) << error;
    settings.poll_delay = 0;
    settings.byte_delay = 0;
    settings.bit_delay = 0;
    link = std::make_unique<LinkDevice>(*unit, settings);
    link->EndTransaction();
    ASSERT_TRUE(link->DetectUnitType());
    slots = std::make_unique<LinkSlots>(*link);
    env.link = slots.get();
    env.messages = &messages;
    reports.link_gave_up = [this] { ++link_gave_up; };
    env.reports = &reports;
  }
  void TearDown() override {
    if (unit) {
      EXPECT_TRUE(unit->Violations().empty());
    }
  }
  // Puts a wrong checksum on the transaction `ahead` transactions from now.
  void FailAhead(std::uint64_t ahead) {
    Fault fault;
    fault.kind = FaultKind::kWrongChecksum;
    unit->InjectFault(unit->Transactions() + ahead, fault);
  }
  // The slot's card put back if it went out, read again and checked: blocks in use by no save
  // are all a write cut short by a pulled card may leave.
  void ExpectOnlyLostBlocksAfterPutBack(std::size_t slot, CardImage& card,
                                        const std::string& what) {
    std::string error;
    if (!unit->HasCard(slot)) {
      ASSERT_TRUE(
          unit->InsertCardAfter(slot, dir / (slot == 0 ? "slot1.dcm" : "slot2.dcm"), 0, error))
          << error;
    }
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded) << what;
    for (const std::string& problem : CheckCard(card)) {
      EXPECT_NE(problem.find("belongs to no save"), std::string::npos) << what << ": " << problem;
    }
  }
  void ExpectConsistent(CardImage& card) {
    ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
    EXPECT_EQ(CheckCard(card), std::vector<std::string>{});
  }

  test::TempDir dir;
  LinkSettings settings;
  test::RecordingMessages messages;
  int link_gave_up = 0;
  Reports reports;
  CardEnvironment env;
  std::unique_ptr<VirtualUnit> unit;
  std::unique_ptr<LinkDevice> link;
  std::unique_ptr<LinkSlots> slots;
  CardImage slot1{kSourceSlot1, &env};
  CardImage slot2{kSourceSlot2, &env};
};

TEST_F(VirtualSlots, ReadFailingFifteenTimesThenSucceeding) {
  Start(CardWithIcons(), CardBuilder());
  // A failed attempt: slot access, the first part request (failed), end of slot access.
  for (int attempt = 0; attempt < 15; ++attempt) FailAhead(3 * attempt + 2);
  Block buffer{};
  ASSERT_TRUE(ReadBlock(slot1, 199, buffer));
  EXPECT_TRUE(messages.informed.empty());
  EXPECT_EQ(link->Stats().block_reads, 16u);
  EXPECT_EQ(unit->Counters().block_reads, 1u);
  ReverseGroups(buffer);
  EXPECT_EQ(buffer[0x40], 3);  // the header of THREEFRAMES
  EXPECT_EQ(link_gave_up, 0);
}

TEST_F(VirtualSlots, ReadFailingSixteenTimesGivesUp) {
  Start(CardWithIcons(), CardBuilder());
  for (int attempt = 0; attempt < 16; ++attempt) FailAhead(3 * attempt + 2);
  Block buffer{};
  EXPECT_FALSE(ReadBlock(slot1, 199, buffer));
  EXPECT_EQ(link->Stats().block_reads, 16u);
  ASSERT_EQ(messages.informed.size(), 1u);
  EXPECT_EQ(messages.informed[0], kReadConnectionError);
  EXPECT_EQ(link_gave_up, 1);
}

TEST_F(VirtualSlots, WriteGivesUpAfterFive) {
  Start(CardWithIcons(), CardBuilder());
  // A failed attempt: slot access, the first part upload (failed), commit, end of access.
  for (int attempt = 0; attempt < 5; ++attempt) FailAhead(4 * attempt + 2);
  Block buffer{};
  buffer.fill(0x5A);
  EXPECT_FALSE(WriteBlock(slot2, 10, buffer));
  EXPECT_EQ(link->Stats().block_writes, 5u);
  ASSERT_EQ(messages.informed.size(), 1u);
  EXPECT_EQ(messages.informed[0], kWriteConnectionError);
  EXPECT_EQ(link_gave_up, 1);
  ASSERT_TRUE(WriteBlock(slot2, 10, buffer));
  Block back{};
  ASSERT_TRUE(ReadBlock(slot2, 10, back));
  EXPECT_EQ(back, buffer);
}

TEST_F(VirtualSlots, LoadingAWholeCardReadsEachBlockOnce) {
  Start(CardWithIcons(), CardBuilder());
  CacheScope load(slot1);
  ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
  // Root, FAT, 13 directory blocks and the three headers (the logo's too).
  EXPECT_EQ(unit->Counters().block_reads, 2u + 13u + 4u);
  EXPECT_EQ(slot1.listed_count, 4);
  EXPECT_EQ(slot1.records[0].icon_count, 2);
  EXPECT_EQ(slot1.records[1].icon_count, 3);
  EXPECT_EQ(slot1.records[3].description, "VMU CAPTION LOGO");
  // The icon frames read after the load, within the same scope, cross the link only for
  // blocks not read yet.
  std::set<int> blocks_seen = {255, 254, 199, 196, 194, 1};
  for (int b = 241; b <= 253; ++b) blocks_seen.insert(b);
  Block buffer;
  for (int block : {199, 198, 197, 1, 2, 3, 196, 195}) {
    ASSERT_TRUE(ReadBlock(slot1, static_cast<std::uint8_t>(block), buffer));
    ASSERT_TRUE(ReadBlock(slot1, static_cast<std::uint8_t>(block), buffer));
    blocks_seen.insert(block);
  }
  EXPECT_EQ(unit->Counters().block_reads, blocks_seen.size());
}

TEST_F(VirtualSlots, FailedLoadIsReported) {
  Start(CardWithIcons(), CardBuilder());
  for (int attempt = 0; attempt < 16; ++attempt) FailAhead(3 * attempt + 2);
  EXPECT_EQ(LoadCard(slot1), LoadResult::kFailed);
  EXPECT_EQ(messages.informed.size(), 1u);
}

TEST_F(VirtualSlots, CopyDeleteAndFormatOnSlotsStayConsistent) {
  Start(CardWithIcons(), CardBuilder(200));
  ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
  ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
  ASSERT_EQ(CopySave(1, 1, slot1, slot2), TransferError::kNone);
  ASSERT_EQ(CopySave(1, 0, slot1, slot2), TransferError::kNone);
  ExpectConsistent(slot2);
  EXPECT_EQ(slot2.listed_count, 2);
  EXPECT_EQ(slot2.records[0].first_block, 199);
  EXPECT_EQ(slot2.records[1].first_block, 0);
  EXPECT_TRUE(slot2.records[1].header_in_second_block);
  EXPECT_EQ(slot2.free_blocks, 192);

  ASSERT_TRUE(DeleteSave(slot2, 0));
  ExpectConsistent(slot2);
  EXPECT_EQ(slot2.listed_count, 1);
  ASSERT_TRUE(FormatCard(slot1, 241));
  ExpectConsistent(slot1);
  EXPECT_EQ(slot1.free_blocks, 241);
  EXPECT_TRUE(messages.informed.empty());
}

TEST_F(VirtualSlots, AFormatStoppedByAPulledCardLeavesNoBrokenChain) {
  // The card goes out after every few transactions of the format: 15 block writes of 11.
  for (std::uint64_t after = 1; after <= 165; after += 4) {
    Start(CardWithIcons(), CardBuilder(200));
    ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
    unit->RemoveCardAfter(0, after);
    FormatCard(slot1, 241);
    // What a format cut short may leave: blocks of emptied entries that no save lists.
    ExpectOnlyLostBlocksAfterPutBack(0, slot1, "pulled after " + std::to_string(after));
    unit.reset();
  }
}

TEST_F(VirtualSlots, AnUndoStoppedByAPulledCardLeavesNoEntryWithoutItsChain) {
  // A delete and a copy on slot 2, each undone with the card going out during the undo's
  // writes (the last 200 transactions: before them it reads the blocks and records them).
  for (const bool undo_delete : {true, false}) {
    std::uint64_t undo_transactions = 0;  // measured by a first undo that nothing stops
    for (std::uint64_t pull = 0; pull <= 200; pull += pull == 0 ? 1 : 11) {
      Start(CardWithIcons(), CardWithIcons());
      Journal journal{
          {.folder = dir / ("journal" + std::to_string(pull) + (undo_delete ? "d" : "c"))}};
      env.journal = &journal;
      ASSERT_EQ(LoadCard(slot1), LoadResult::kLoaded);
      ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
      ASSERT_TRUE(DeleteSavesCommand(slot2, std::vector<std::size_t>{1}));
      if (!undo_delete) {
        ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
        const StoreResult copied = CopySaveCommand(slot1, 1, slot2, FixedAnswers(false));
        ASSERT_TRUE(copied.Stored()) << Describe(copied);
      }
      ASSERT_EQ(LoadCard(slot2), LoadResult::kLoaded);
      const std::uint64_t start = unit->Transactions();
      if (pull != 0) unit->RemoveCardAfter(1, undo_transactions - 200 + pull);
      const UndoResult undone = UndoCommands(slot2, journal);
      if (pull == 0) {
        ASSERT_EQ(undone.outcome, UndoResult::Outcome::kDone) << Describe(undone);
        undo_transactions = unit->Transactions() - start;
        ASSERT_GT(undo_transactions, 200u);
      }
      ExpectOnlyLostBlocksAfterPutBack(1, slot2,
                                       std::string(undo_delete ? "delete" : "copy") +
                                           " undone, pulled at " + std::to_string(pull));
      env.journal = nullptr;
      unit.reset();
    }
  }
}

}  // namespace
}  // namespace quorvel
