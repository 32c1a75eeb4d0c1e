// Tests of the unit probe against the virtual unit: both kinds of unit, the pages of a paged
// card, card presence, and why nothing answered.
#include "app/unit_probe.h"

#include <gtest/gtest.h>

#include <string>

#include "port/recording_port.h"
#include "support/temp_dir.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {
namespace {

class UnitProbeTest : public ::testing::Test {
 protected:
  UnitProbeTest() {
    settings_.poll_delay = settings_.byte_delay = settings_.bit_delay = -1;
    // Every reading of the clock is a new second, so a silent unit times out at once.
    hooks_.time_of_day = [this] { return "10:00:" + std::to_string(10 + tick_++ % 50); };
  }

  std::string BlankCard(const std::string& name, std::size_t pages) {
    return dir_.Write(name, std::string(pages * kVirtualPageSize, '\0')).string();
  }

  UnitProbe Probe(PortIo& port) {
    LinkDevice link(port, settings_, hooks_);
    link.EndTransaction();
    return ProbeUnit(link);
  }

  testing::TempDir dir_;
  LinkSettings settings_;
  LinkHooks hooks_;
  int tick_ = 0;
  std::string error_;
};

TEST_F(UnitProbeTest, TwoSlotUnitReportsWhichSlotsHoldACard) {
  auto unit = VirtualUnit::TwoSlot(std::nullopt, BlankCard("slot2.dcm", 1), error_);
  ASSERT_TRUE(unit) << error_;
  const UnitProbe probe = Probe(*unit);
  EXPECT_TRUE(probe.answered);
  EXPECT_FALSE(probe.paged);
  ASSERT_TRUE(probe.presence_known);
  EXPECT_FALSE(probe.slot1);
  EXPECT_TRUE(probe.slot2);
  EXPECT_EQ(DescribeUnit(probe), "unit: Vantric two-slot unit\nslot1: no card\nslot2: card\n");
  EXPECT_TRUE(unit->Violations().empty()) << unit->Violations().front();
}

TEST_F(UnitProbeTest, PagedCardReportsItsPagesAndKeepsThePageInUse) {
  auto unit = VirtualUnit::Paged(BlankCard("paged.dcm", 4), error_);
  ASSERT_TRUE(unit) << error_;
  const UnitProbe probe = Probe(*unit);
  EXPECT_TRUE(probe.answered);
  EXPECT_TRUE(probe.paged);
  ASSERT_TRUE(probe.pages_known);
  EXPECT_EQ(probe.highest_page, 3);
  EXPECT_EQ(unit->Page(), 0);
  EXPECT_EQ(DescribeUnit(probe), "unit: ORIEL paged card\npages: 4 (highest page 3)\n");
  EXPECT_TRUE(unit->Violations().empty()) << unit->Violations().front();
}

TEST_F(UnitProbeTest, NothingAttachedOrADeadPortGivesNoAnswerToTheHandshake) {
  auto nothing = VirtualUnit::NothingAttached();
  RecordingPort dead_port;
  for (PortIo* port : {static_cast<PortIo*>(nothing.get()), static_cast<PortIo*>(&dead_port)}) {
    const UnitProbe probe = Probe(*port);
    EXPECT_FALSE(probe.answered);
    EXPECT_TRUE(probe.timed_out);
    EXPECT_EQ(NoAnswerReason(probe),
              "no answer to the handshake (is the unit connected and powered?)");
  }
}

TEST_F(UnitProbeTest, AGarbledReplyIsNotAnAnswer) {
  auto unit = VirtualUnit::TwoSlot(BlankCard("slot1.dcm", 1), std::nullopt, error_);
  ASSERT_TRUE(unit) << error_;
  for (std::uint64_t transaction = 1; transaction <= 4; ++transaction) {
    unit->InjectFault(transaction, Fault{.kind = FaultKind::kWrongSync});
  }
  const UnitProbe probe = Probe(*unit);
  EXPECT_FALSE(probe.answered);
  EXPECT_FALSE(probe.timed_out);
  EXPECT_EQ(NoAnswerReason(probe), "the reply was not understood (sync or checksum wrong)");
}

}  // namespace
}  // namespace quorvel
