// The command set and the block entry points against the virtual unit, in both kinds of
// unit, with the unit's faults: sync and checksum rules, failure order, detection, pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "link/link_fixture.h"

namespace quorvel {
namespace {

using testing::OfKind;
using testing::WrongChecksum;

class TwoSlotTest : public testing::LinkFixture {
 protected:
  void SetUp() override { UseTwoSlotUnit(); }
};

class PagedTest : public testing::LinkFixture {
 protected:
  void SetUp() override { UsePagedCard(4); }
};

using Buffer = std::array<std::uint8_t, kBlockSize>;

std::vector<std::uint8_t> Bytes(const Buffer& buffer) {
  return std::vector<std::uint8_t>(buffer.begin(), buffer.end());
}

TEST_F(TwoSlotTest, ReadBlockReadsEachSlotInFourParts) {
  Buffer buffer{};
  ASSERT_TRUE(device_->LinkReadBlock(0, 17, buffer));
  EXPECT_EQ(Bytes(buffer), Block(0, 17));
  EXPECT_FALSE(device_->TimedOut());
  ASSERT_TRUE(device_->LinkReadBlock(1, 255, buffer));
  EXPECT_EQ(Bytes(buffer), Block(1, 255));
  EXPECT_EQ(Count("BeginSlotAccess"), 2u);
  EXPECT_EQ(Count("RequestBlockPart"), 8u);
  EXPECT_EQ(Count("FetchPart"), 8u);
  EXPECT_EQ(Count("EndSlotAccess"), 2u);
  EXPECT_EQ(unit_->Counters().block_reads, 2u);
  EXPECT_EQ(device_->Stats().block_reads, 2u);
  EXPECT_EQ(device_->Stats().transactions, 2u * 10u);
}

TEST_F(TwoSlotTest, WriteBlockReachesTheCardFileAtTheCommit) {
  Buffer data{};
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(device_->LinkWriteBlock(1, 3, data));
  EXPECT_FALSE(device_->TimedOut());
  std::vector<std::uint8_t> file = testing::ReadFile(SlotFile(1));
  EXPECT_TRUE(std::equal(data.begin(), data.end(), file.begin() + 3 * kBlockSize));
  EXPECT_EQ(testing::ReadFile(SlotFile(0)), card_bytes_[0]);  // the other slot is untouched
  EXPECT_EQ(Count("UploadPart"), 4u);
  EXPECT_EQ(Count("WriteBlockPart"), 4u);
  EXPECT_EQ(Count("CommitBlockWrite"), 1u);
  EXPECT_EQ(unit_->Counters().block_writes, 1u);
}

TEST_F(TwoSlotTest, FailingSecondPartStopsTheWriteButStillCommitsAndEndsTheAccess) {
  Buffer data{};
  data.fill(0x5A);
  // Transactions: BeginSlotAccess, UploadPart 0, WriteBlockPart 0, UploadPart 1, ...
  FaultAhead(4, WrongChecksum(0x80));
  EXPECT_FALSE(device_->LinkWriteBlock(0, 9, data));
  EXPECT_TRUE(device_->TimedOut());
  EXPECT_EQ(Count("UploadPart"), 2u);
  EXPECT_EQ(Count("WriteBlockPart"), 1u);  // parts 2 and 3 were never sent
  EXPECT_EQ(Count("CommitBlockWrite"), 1u);
  EXPECT_EQ(Count("EndSlotAccess"), 1u);
  EXPECT_EQ(unit_->Transactions(), 6u);
  // The unit drops a block whose parts did not all arrive.
  EXPECT_EQ(testing::ReadFile(SlotFile(0)), card_bytes_[0]);
}

TEST_F(TwoSlotTest, FailingPartOfARead_KeepsOnlyTheEarlierPartsAndEndsTheAccess) {
  Buffer buffer;
  buffer.fill(0xEE);
  // BeginSlotAccess, Request 0, Fetch 0, Request 1, Fetch 1, Request 2 ...
  FaultAhead(7, WrongChecksum(0x02));  // FetchPart of part 2
  EXPECT_FALSE(device_->LinkReadBlock(0, 40, buffer));
  EXPECT_TRUE(device_->TimedOut());
  std::vector<std::uint8_t> expected = Block(0, 40);
  std::fill(expected.begin() + 2 * kPartSize, expected.end(), 0xEE);
  EXPECT_EQ(Bytes(buffer), expected);
  EXPECT_EQ(Count("RequestBlockPart"), 3u);
  EXPECT_EQ(Count("EndSlotAccess"), 1u);
}

TEST_F(TwoSlotTest, WrongSyncReplyFailsWithoutArgumentsAndEndsTheTransaction) {
  FaultAhead(1, OfKind(FaultKind::kWrongSync));  // 0xA9 0x56
  EXPECT_FALSE(device_->SetPage(0));
  EXPECT_EQ(Count("SetPage"), 0u);
  // The unit would have recorded any byte after the sync reply, and an open transaction
  // would make the next command fail.
  std::uint16_t page = 0;
  EXPECT_TRUE(device_->GetPage(page));
  EXPECT_EQ(page, 0x00FF);
}

TEST_F(TwoSlotTest, WrongFirstSyncByteFailsTheCommandToo) {
  Fault fault = OfKind(FaultKind::kWrongSync);
  fault.sync_first = 0xA8;
  fault.sync_second = 0x55;
  FaultAhead(1, fault);
  bool slot1 = true, slot2 = true;
  EXPECT_FALSE(device_->GetCardPresence(slot1, slot2));
  EXPECT_FALSE(slot1);
  EXPECT_FALSE(slot2);
}

TEST_F(TwoSlotTest, ChecksumDifferingInBitZeroPassesExceptForPageCommands) {
  Buffer buffer{};
  for (std::uint64_t t = 1; t <= 10; ++t) FaultAhead(t, WrongChecksum(0x01));
  EXPECT_TRUE(device_->LinkReadBlock(1, 0, buffer));
  EXPECT_EQ(Bytes(buffer), Block(1, 0));

  FaultAhead(1, WrongChecksum(0x01));
  EXPECT_FALSE(device_->SetPage(0));
  FaultAhead(1, WrongChecksum(0x01));
  std::uint16_t page = 0x1234;
  EXPECT_FALSE(device_->GetPage(page));
  EXPECT_EQ(page, 0x1234);  // left alone on failure

  FaultAhead(1, WrongChecksum(0x01));
  EXPECT_TRUE(device_->BeginSlotAccess());
  FaultAhead(1, WrongChecksum(0x04));
  EXPECT_FALSE(device_->EndSlotAccess());
}

TEST_F(TwoSlotTest, CardPresenceFollowsRemovalAndInsertion) {
  bool slot1 = false, slot2 = false;
  ASSERT_TRUE(device_->GetCardPresence(slot1, slot2));
  EXPECT_TRUE(slot1);
  EXPECT_TRUE(slot2);
  unit_->RemoveCardAfter(1, 1);
  ASSERT_TRUE(device_->GetCardPresence(slot1, slot2));  // the removal happens after this one
  EXPECT_TRUE(slot2);
  ASSERT_TRUE(device_->GetCardPresence(slot1, slot2));
  EXPECT_TRUE(slot1);
  EXPECT_FALSE(slot2);

  Buffer buffer{};
  EXPECT_FALSE(device_->LinkReadBlock(1, 0, buffer));  // an empty slot cannot be read

  testing::WriteFile(dir_.path() / "other.dcm", card_bytes_[0]);
  std::string error;
  ASSERT_TRUE(unit_->InsertCardAfter(1, dir_.path() / "other.dcm", 0, error)) << error;
  ASSERT_TRUE(device_->GetCardPresence(slot1, slot2));
  EXPECT_TRUE(slot2);
  ASSERT_TRUE(device_->LinkReadBlock(1, 2, buffer));
  EXPECT_EQ(Bytes(buffer), Block(0, 2));
}

TEST_F(TwoSlotTest, EmptySlotsReportNoCards) {
  UseTwoSlotUnit(false, true);
  bool slot1 = true, slot2 = false;
  ASSERT_TRUE(device_->GetCardPresence(slot1, slot2));
  EXPECT_FALSE(slot1);
  EXPECT_TRUE(slot2);
}

TEST_F(TwoSlotTest, UnitThatDoesNotAnswerTimesOutAndTheRetryCountsAsOne) {
  Buffer buffer{};
  FaultAhead(1, OfKind(FaultKind::kNoAnswer));  // BeginSlotAccess: its result is ignored,
  FaultAhead(2, OfKind(FaultKind::kNoAnswer));  // but the part request fails
  EXPECT_FALSE(device_->LinkReadBlock(0, 1, buffer));
  EXPECT_TRUE(device_->TimedOut());
  EXPECT_TRUE(labels_.empty());  // a silent line ends in phase 1, which sets no label
  ASSERT_TRUE(device_->LinkReadBlock(0, 1, buffer));
  EXPECT_FALSE(device_->TimedOut());
  EXPECT_EQ(Bytes(buffer), Block(0, 1));
  EXPECT_EQ(device_->Stats().retries, 1u);
}

TEST_F(TwoSlotTest, SlowHandshakeWithinTheSecondStillWorks) {
  Fault fault = OfKind(FaultKind::kSlowHandshake);
  fault.polls = 500;
  FaultAhead(1, fault);
  bool slot1 = false, slot2 = false;
  EXPECT_TRUE(device_->GetCardPresence(slot1, slot2));
  EXPECT_FALSE(device_->TimedOut());
  EXPECT_TRUE(slot1);
}

TEST_F(TwoSlotTest, LineNoiseInADataByteFailsThePartAndTheRetryGetsTheBlock) {
  Fault flip = OfKind(FaultKind::kFlipSentBit);
  flip.byte = 5;
  flip.bit = 3;
  FaultAhead(3, flip);  // the first FetchPart
  Buffer buffer{};
  EXPECT_FALSE(device_->LinkReadBlock(0, 77, buffer));
  ASSERT_TRUE(device_->LinkReadBlock(0, 77, buffer));
  EXPECT_EQ(Bytes(buffer), Block(0, 77));

  Fault incoming = OfKind(FaultKind::kFlipReceivedBit);
  incoming.byte = 100;
  incoming.bit = 6;
  FaultAhead(2, incoming);  // the first UploadPart
  Buffer data;
  data.fill(0x11);
  EXPECT_FALSE(device_->LinkWriteBlock(0, 77, data));
  EXPECT_EQ(testing::ReadFile(SlotFile(0)), card_bytes_[0]);
  ASSERT_TRUE(device_->LinkWriteBlock(0, 77, data));
  ASSERT_TRUE(device_->LinkReadBlock(0, 77, buffer));
  EXPECT_EQ(buffer, data);
}

TEST_F(TwoSlotTest, ACommitTheUnitDidNotTakeFailsTheBlockAndTheRetryWritesIt) {
  Buffer data;
  data.fill(0x5A);
  // Slot access, four uploads with their part writes, then the commit as transaction 10.
  FaultAhead(10, OfKind(FaultKind::kNoAnswer));
  EXPECT_FALSE(device_->LinkWriteBlock(0, 9, data));
  EXPECT_TRUE(device_->TimedOut());
  EXPECT_EQ(testing::ReadFile(SlotFile(0)), card_bytes_[0]);
  ASSERT_TRUE(device_->LinkWriteBlock(0, 9, data));
  Buffer buffer{};
  ASSERT_TRUE(device_->LinkReadBlock(0, 9, buffer));
  EXPECT_EQ(buffer, data);
}

TEST_F(TwoSlotTest, NoiseOnAnArgumentFailsThePartWithoutBlamingThePc) {
  Fault noise = OfKind(FaultKind::kFlipReceivedBit);
  noise.byte = 0;  // the slot byte of the first part request: slot 0 arrives as slot 16
  noise.bit = 4;
  FaultAhead(2, noise);
  Buffer buffer{};
  EXPECT_FALSE(device_->LinkReadBlock(0, 12, buffer));
  ASSERT_TRUE(device_->LinkReadBlock(0, 12, buffer));
  EXPECT_EQ(Bytes(buffer), Block(0, 12));
  // The fixture's tear-down checks that the unit recorded no broken rule.
}

TEST_F(TwoSlotTest, WholeCardsWrittenAndReadBackInBothSlots) {
  for (std::uint8_t slot = 0; slot < 2; ++slot) {
    std::vector<std::uint8_t> image = testing::PatternBytes(testing::kCardBytes, 100 + slot);
    for (int block = 0; block < 256; ++block) {
      auto part = std::span(image).subspan(block * kBlockSize).first<kBlockSize>();
      ASSERT_TRUE(device_->LinkWriteBlock(slot, static_cast<std::uint8_t>(block), part));
    }
    EXPECT_EQ(testing::ReadFile(SlotFile(slot)), image);
    std::vector<std::uint8_t> read_back(testing::kCardBytes);
    for (int block = 0; block < 256; ++block) {
      auto part = std::span(read_back).subspan(block * kBlockSize).first<kBlockSize>();
      ASSERT_TRUE(device_->LinkReadBlock(slot, static_cast<std::uint8_t>(block), part));
    }
    EXPECT_TRUE(read_back == image) << "slot " << int{slot};
  }
  EXPECT_EQ(unit_->Counters().block_writes, 512u);
  EXPECT_EQ(unit_->Counters().block_reads, 512u);
}

TEST_F(TwoSlotTest, DetectionFindsTheTwoSlotUnitAndItsPagesAre255) {
  EXPECT_TRUE(device_->DetectUnitType());
  EXPECT_FALSE(device_->PagedMode());
  std::uint16_t highest = 0;
  EXPECT_TRUE(device_->HighestPage(highest));
  EXPECT_EQ(highest, 255);
}

TEST_F(PagedTest, DetectionFindsThePagedCardAndPutsItsPageBack) {
  ASSERT_TRUE(device_->SetPage(2));
  EXPECT_TRUE(device_->DetectUnitType());
  EXPECT_TRUE(device_->PagedMode());
  std::uint16_t page = 0;
  ASSERT_TRUE(device_->GetPage(page));
  EXPECT_EQ(page, 2);
  EXPECT_EQ(unit_->Page(), 2);
}

TEST_F(PagedTest, DetectionRejectsAnyOtherPageValue) {
  ASSERT_TRUE(device_->DetectUnitType());
  // The high byte of GetPage is never echoed, so a flipped bit there reaches the PC unseen:
  // detection then reads 0x0100 after SetPage(0).
  Fault flip = OfKind(FaultKind::kFlipSentBit);
  flip.byte = 1;
  flip.bit = 0;
  FaultAhead(3, flip);  // GetPage, SetPage(0), GetPage
  EXPECT_FALSE(device_->DetectUnitType());
  EXPECT_TRUE(device_->PagedMode()) << "the kind last found stands";
  UsePagedCard(4);  // a link that never found a unit
  FaultAhead(3, flip);
  EXPECT_FALSE(device_->DetectUnitType());
  EXPECT_FALSE(device_->PagedMode());
}

TEST_F(PagedTest, ADetectionBrokenByALinkFaultKeepsTheKindOfUnitFound) {
  // Every transaction of the detection (GetPage, SetPage(0), GetPage, SetPage back) broken
  // in every way: the link must go on talking to the paged card as a paged card, never with
  // the two-slot unit's commands, which the card refuses.
  const Fault faults[] = {OfKind(FaultKind::kNoAnswer), OfKind(FaultKind::kWrongSync),
                          WrongChecksum(0x80)};
  for (std::uint64_t ahead = 1; ahead <= 3; ++ahead) {
    for (const Fault& fault : faults) {
      ASSERT_TRUE(device_->DetectUnitType());
      ASSERT_TRUE(device_->PagedMode());
      FaultAhead(ahead, fault);
      EXPECT_FALSE(device_->DetectUnitType()) << "transaction " << ahead;
      EXPECT_TRUE(device_->PagedMode()) << "transaction " << ahead;
      Buffer buffer{};
      EXPECT_TRUE(device_->LinkReadBlock(0, 5, buffer)) << "transaction " << ahead;
      EXPECT_EQ(Bytes(buffer), Block(0, 5));
    }
  }
  // The fixture's end checks that the card saw no command it does not know.
  EXPECT_EQ(Count("ReadMemory"), 9u);
}

TEST_F(TwoSlotTest, ADetectionBrokenByALinkFaultKeepsTheTwoSlotUnit) {
  ASSERT_TRUE(device_->DetectUnitType());
  FaultAhead(2, OfKind(FaultKind::kNoAnswer));  // SetPage(0)
  EXPECT_FALSE(device_->DetectUnitType());
  EXPECT_FALSE(device_->PagedMode());
  Buffer buffer{};
  ASSERT_TRUE(device_->LinkReadBlock(1, 200, buffer));
  EXPECT_EQ(Bytes(buffer), Block(1, 200));
}

TEST_F(PagedTest, APageThatCannotBeReadIsNeverChangedAndALostPageIsReported) {
  ASSERT_TRUE(device_->SetPage(2));
  FaultAhead(1, WrongChecksum(0x01));  // the first GetPage
  EXPECT_FALSE(device_->DetectUnitType());
  EXPECT_EQ(unit_->Page(), 2);
  std::uint16_t highest = 7;
  FaultAhead(1, WrongChecksum(0x01));
  EXPECT_FALSE(device_->HighestPage(highest));
  EXPECT_EQ(unit_->Page(), 2);
  EXPECT_EQ(highest, 7);
  FaultAhead(2, WrongChecksum(0x01));  // SetPage(0) taken, but its checksum reply is wrong
  EXPECT_FALSE(device_->DetectUnitType());
  EXPECT_EQ(unit_->Page(), 2) << "put back";
  EXPECT_FALSE(device_->TakePageLost());

  FaultAhead(4, OfKind(FaultKind::kNoAnswer));  // GetPage, SetPage(0), GetPage, SetPage(2)
  EXPECT_TRUE(device_->DetectUnitType());
  EXPECT_EQ(unit_->Page(), 0);
  EXPECT_TRUE(device_->TakePageLost());
  EXPECT_FALSE(device_->TakePageLost()) << "said once";
}

TEST_F(PagedTest, HighestPageIsClampedByTheCardForEverySize) {
  for (std::size_t pages : {2u, 4u, 8u, 16u}) {
    UsePagedCard(pages);
    ASSERT_TRUE(device_->SetPage(1));
    std::uint16_t highest = 0;
    ASSERT_TRUE(device_->HighestPage(highest));
    EXPECT_EQ(highest, pages - 1);
    EXPECT_EQ(unit_->Page(), 1);  // put back
  }
}

TEST_F(PagedTest, PageCommandsNeedAnExactChecksumAndSet16MPageIsRemembered) {
  ASSERT_TRUE(device_->SetPage(300));
  std::uint16_t page = 0;
  ASSERT_TRUE(device_->GetPage(page));
  EXPECT_EQ(page, 3);
  FaultAhead(1, WrongChecksum(0x01));
  EXPECT_FALSE(device_->GetPage(page));
  FaultAhead(1, WrongChecksum(0x01));
  EXPECT_TRUE(device_->Set16MPage(3));
  EXPECT_EQ(unit_->Stored16MPage(), 3);
}

TEST_F(PagedTest, ReadBlockIgnoresTheSlotAndReadsTheCurrentPage) {
  ASSERT_TRUE(device_->DetectUnitType());
  ASSERT_TRUE(device_->SetPage(1));
  Buffer from_slot0{}, from_slot1{};
  ASSERT_TRUE(device_->LinkReadBlock(0, 5, from_slot0));
  ASSERT_TRUE(device_->LinkReadBlock(1, 5, from_slot1));
  EXPECT_EQ(from_slot0, from_slot1);
  EXPECT_EQ(Bytes(from_slot0), Block(0, 5, 1));
  Buffer memory{};
  ASSERT_TRUE(device_->ReadMemory(2560, memory));
  EXPECT_EQ(memory, from_slot0);
  EXPECT_EQ(Count("ReadMemory"), 3u);
}

TEST_F(PagedTest, ChecksumOfAReadMayDifferInBitZeroOnly) {
  ASSERT_TRUE(device_->DetectUnitType());
  Buffer buffer{};
  FaultAhead(1, WrongChecksum(0x01));
  EXPECT_TRUE(device_->LinkReadBlock(0, 8, buffer));
  FaultAhead(1, WrongChecksum(0x81));
  EXPECT_FALSE(device_->LinkReadBlock(0, 8, buffer));
  EXPECT_TRUE(device_->TimedOut());
}

TEST_F(PagedTest, FailingWritePartStopsTheRemainingParts) {
  ASSERT_TRUE(device_->DetectUnitType());
  Buffer data;
  data.fill(0x42);
  FaultAhead(2, OfKind(FaultKind::kWrongSync));
  EXPECT_FALSE(device_->LinkWriteBlock(0, 10, data));
  EXPECT_TRUE(device_->TimedOut());
  EXPECT_EQ(Count("WriteMemory"), 1u);
  // Only the first part reached the card.
  std::vector<std::uint8_t> file = testing::ReadFile(dir_.path() / "paged.bin");
  std::vector<std::uint8_t> expected = Block(0, 10);
  std::fill(expected.begin(), expected.begin() + kPartSize, 0x42);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + 10 * kBlockSize));
}

// Bit 0 of an address byte flipped on its way to the card changes the card's checksum in bit 0
// only, which the PC accepts, while the card refuses the part: the block is read back then.
TEST_F(PagedTest, APartRefusedBehindABitZeroChecksumFailsTheBlockAndTheRetryWritesIt) {
  ASSERT_TRUE(device_->DetectUnitType());
  Buffer data;
  data.fill(0x3C);
  Fault noise = OfKind(FaultKind::kFlipReceivedBit);
  noise.byte = 1;
  noise.bit = 0;
  FaultAhead(3, noise);  // the third part
  EXPECT_FALSE(device_->LinkWriteBlock(0, 10, data));
  EXPECT_TRUE(device_->TimedOut());
  EXPECT_EQ(Count("ReadMemory"), 1u);
  ASSERT_TRUE(device_->LinkWriteBlock(0, 10, data));
  Buffer buffer{};
  ASSERT_TRUE(device_->LinkReadBlock(0, 10, buffer));
  EXPECT_EQ(buffer, data);
  EXPECT_EQ(device_->Stats().bit0_checks, 1u);

  // A reply that differs in bit 0 although the card took the part: the read-back confirms it.
  data.fill(0x77);
  FaultAhead(2, WrongChecksum(0x01));
  ASSERT_TRUE(device_->LinkWriteBlock(0, 11, data));
  EXPECT_EQ(device_->Stats().bit0_checks, 2u);
  const std::uint64_t reads = Count("ReadMemory");
  ASSERT_TRUE(device_->LinkWriteBlock(0, 12, data));  // exact replies: no read-back
  EXPECT_EQ(Count("ReadMemory"), reads);
  const std::vector<std::uint8_t> file = testing::ReadFile(dir_.path() / "paged.bin");
  EXPECT_TRUE(std::all_of(file.begin() + 11 * kBlockSize, file.begin() + 13 * kBlockSize,
                          [](std::uint8_t byte) { return byte == 0x77; }));
}

// The same noise on a read makes the card send another block under a checksum that differs in
// bit 0 only: such a block is read again and taken only when both reads agree.
TEST_F(PagedTest, ABlockReadBehindABitZeroChecksumIsReadAgain) {
  ASSERT_TRUE(device_->DetectUnitType());
  Fault noise = OfKind(FaultKind::kFlipReceivedBit);
  noise.byte = 1;  // address 6144 arrives as 6400: block 13 instead of 12
  noise.bit = 0;
  FaultAhead(1, noise);
  Buffer buffer{};
  EXPECT_FALSE(device_->LinkReadBlock(0, 12, buffer));
  EXPECT_TRUE(device_->TimedOut());
  ASSERT_TRUE(device_->LinkReadBlock(0, 12, buffer));
  EXPECT_EQ(Bytes(buffer), Block(0, 12));
  EXPECT_EQ(Count("ReadMemory"), 3u);
  FaultAhead(1, WrongChecksum(0x01));  // bit 0 only, the right block: the second read agrees
  ASSERT_TRUE(device_->LinkReadBlock(0, 14, buffer));
  EXPECT_EQ(Bytes(buffer), Block(0, 14));
  EXPECT_EQ(Count("ReadMemory"), 5u);
  EXPECT_EQ(device_->Stats().bit0_checks, 2u);
}

TEST_F(PagedTest, WholeCardsOnTwoPagesWrittenAndReadBack) {
  ASSERT_TRUE(device_->DetectUnitType());
  std::vector<std::uint8_t> images[2] = {testing::PatternBytes(testing::kCardBytes, 31),
                                         testing::PatternBytes(testing::kCardBytes, 32)};
  for (std::uint16_t page = 0; page < 2; ++page) {
    ASSERT_TRUE(device_->SetPage(page == 0 ? 3 : 1));
    for (int block = 0; block < 256; ++block) {
      auto part = std::span(images[page]).subspan(block * kBlockSize).first<kBlockSize>();
      ASSERT_TRUE(device_->LinkWriteBlock(0, static_cast<std::uint8_t>(block), part));
    }
  }
  std::vector<std::uint8_t> file = testing::ReadFile(dir_.path() / "paged.bin");
  EXPECT_TRUE(
      std::equal(images[0].begin(), images[0].end(), file.begin() + 3 * testing::kCardBytes));
  EXPECT_TRUE(
      std::equal(images[1].begin(), images[1].end(), file.begin() + 1 * testing::kCardBytes));
  for (std::uint16_t page = 0; page < 2; ++page) {
    ASSERT_TRUE(device_->SetPage(page == 0 ? 3 : 1));
    std::vector<std::uint8_t> read_back(testing::kCardBytes);
    for (int block = 0; block < 256; ++block) {
      auto part = std::span(read_back).subspan(block * kBlockSize).first<kBlockSize>();
      ASSERT_TRUE(device_->LinkReadBlock(1, static_cast<std::uint8_t>(block), part));
    }
    EXPECT_TRUE(read_back == images[page]) << "page " << page;
  }
  EXPECT_EQ(unit_->Counters().block_writes, 512u);
}

class NothingAttachedTest : public testing::LinkFixture {};

TEST_F(NothingAttachedTest, TimesOutInPhaseTwoAndSetsTheLabel) {
  UseNothingAttached();
  EXPECT_FALSE(device_->DetectUnitType());
  EXPECT_FALSE(device_->PagedMode());
  EXPECT_TRUE(device_->TimedOut());
  ASSERT_FALSE(labels_.empty());
  EXPECT_EQ(labels_.back(), kNoDeviceLabel);
}

}  // namespace
}  // namespace quorvel
