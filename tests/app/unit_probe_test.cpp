// Tests of the unit probe: a dead link gives no answer and says why; answers are described.
#include "app/unit_probe.h"

#include <gtest/gtest.h>

#include "port/recording_port.h"

namespace quorvel {
namespace {

TEST(UnitProbeTest, ADeadPortGivesNoAnswerToTheHandshake) {
  Settings settings;
  settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
  RecordingPort dead_port;
  int tick = 0;  // every reading of the clock is a new second
  LinkHooks hooks;
  hooks.time_of_day = [&tick] { return "10:00:" + std::to_string(10 + tick++ % 50); };
  LinkDevice link(dead_port, settings, hooks);
  const UnitProbe probe = ProbeUnit(link);
  EXPECT_FALSE(probe.answered);
  EXPECT_TRUE(probe.timed_out);
  EXPECT_EQ(NoAnswerReason(probe),
            "no answer to the handshake (is the unit connected and powered?)");
}

TEST(UnitProbeTest, DescribesBothKindsOfUnit) {
  UnitProbe paged{.answered = true, .paged = true, .pages_known = true, .highest_page = 3};
  EXPECT_EQ(DescribeUnit(paged), "unit: ORIEL paged card\npages: 4 (highest page 3)\n");
  UnitProbe two_slot{.answered = true, .presence_known = true, .slot1 = false, .slot2 = true};
  EXPECT_EQ(DescribeUnit(two_slot), "unit: Vantric two-slot unit\nslot1: no card\nslot2: card\n");
  two_slot.presence_known = false;
  EXPECT_EQ(DescribeUnit(two_slot), "unit: Vantric two-slot unit\ncard presence: no answer\n");
}

}  // namespace
}  // namespace quorvel
