// The register traffic of the link: the byte exchange, both handshake phases, the port
// addresses and the delay loop, checked access by access on a recording port.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "link/busy_wait.h"
#include "link/fake_clock.h"
#include "link/link_device.h"
#include "port/recording_port.h"

namespace quorvel {
namespace {

constexpr std::uint16_t kData = 0x378;
constexpr std::uint16_t kStatus = 0x379;
constexpr std::uint16_t kControl = 0x37A;

class HandshakeTest : public ::testing::Test {
 protected:
  HandshakeTest() {
    settings_.poll_delay = 0;
    settings_.byte_delay = 0;
    settings_.bit_delay = 0;
  }

  LinkDevice MakeDevice() {
    LinkHooks hooks;
    hooks.time_of_day = [this] { return clock_.Read(); };
    hooks.repaint = [this] { ++repaints_; };
    reports_.status_text = [this](std::string_view text) { labels_.emplace_back(text); };
    hooks.reports = &reports_;
    return LinkDevice(port_, settings_, hooks);
  }

  // Status reads made before the first write of the select line.
  int PhaseOnePolls() const {
    int polls = 0;
    for (const PortAccess& access : port_.Accesses()) {
      if (access.kind == 'W' && access.port == kControl) break;
      if (access.kind == 'R' && access.port == kStatus) ++polls;
    }
    return polls;
  }

  // Status reads after the select line went to 1.
  int PhaseTwoPolls() const {
    int polls = 0;
    bool selected = false;
    for (const PortAccess& access : port_.Accesses()) {
      if (access.kind == 'W' && access.port == kControl) selected = access.value == 1;
      if (selected && access.kind == 'R' && access.port == kStatus) ++polls;
    }
    return polls;
  }

  bool Selected() const {
    for (auto it = port_.Accesses().rbegin(); it != port_.Accesses().rend(); ++it) {
      if (it->kind == 'W' && it->port == kControl) return it->value == 1;
    }
    return false;
  }

  // A unit that is ready before select and drops its line once selected.
  void AnswerAtOnce() {
    port_.SetReader([this](std::uint16_t) -> std::uint8_t { return Selected() ? 0x00 : 0x40; });
  }

  LinkSettings settings_;
  RecordingPort port_;
  testing::FakeClock clock_;
  int repaints_ = 0;
  std::vector<std::string> labels_;
  Reports reports_;
};

TEST_F(HandshakeTest, ExchangeByteDrivesBitsMsbFirstWithClockFallingThenRising) {
  LinkDevice device = MakeDevice();
  device.ExchangeByte(0xA5);
  const std::vector<int> expected_bits = {1, 0, 1, 0, 0, 1, 0, 1};
  const auto& log = port_.Accesses();
  ASSERT_EQ(log.size(), 8u * 4u) << port_.Text();
  for (std::size_t bit = 0; bit < 8; ++bit) {
    const std::uint8_t data = expected_bits[bit] ? 0x02 : 0x00;
    SCOPED_TRACE("bit " + std::to_string(7 - bit));
    EXPECT_EQ(log[bit * 4 + 0], (PortAccess{'W', kData, static_cast<std::uint8_t>(data | 1)}));
    EXPECT_EQ(log[bit * 4 + 1], (PortAccess{'W', kData, data}));
    EXPECT_EQ(log[bit * 4 + 2], (PortAccess{'W', kData, static_cast<std::uint8_t>(data | 1)}));
    EXPECT_EQ(log[bit * 4 + 3].kind, 'R');
    EXPECT_EQ(log[bit * 4 + 3].port, kStatus);
  }
}

TEST_F(HandshakeTest, ExchangeByteAssemblesStatusBitSixMsbFirst) {
  const std::uint8_t reply = 0x96;
  int reads = 0;
  // Every other status bit is set, so only bit 6 may count.
  port_.SetReader([&](std::uint16_t) -> std::uint8_t {
    int bit = 7 - reads++;
    return ((reply >> bit) & 1) != 0 ? 0xFF : 0xBF;
  });
  LinkDevice device = MakeDevice();
  EXPECT_EQ(device.ExchangeByte(0x00), reply);
}

TEST_F(HandshakeTest, AnsweringUnitGivesTheShortestTransaction) {
  AnswerAtOnce();
  LinkDevice device = MakeDevice();
  device.BeginTransaction();
  device.EndTransaction();
  const std::vector<PortAccess> expected = {{'W', kData, 0x01},
                                            {'R', kStatus, 0x40},
                                            {'W', kControl, 0x01},
                                            {'R', kStatus, 0x00},
                                            {'W', kControl, 0x00}};
  EXPECT_EQ(port_.Accesses(), expected) << port_.Text();
  EXPECT_FALSE(device.TimedOut());
  EXPECT_TRUE(labels_.empty());
  EXPECT_EQ(repaints_, 1);
}

TEST_F(HandshakeTest, DeadStatusLineTimesPhaseOneOutWithoutTheLabel) {
  clock_.ChangeAfter(900, "12:00:01");  // the second changes at poll 900
  LinkDevice device = MakeDevice();
  device.BeginTransaction();
  EXPECT_TRUE(device.TimedOut());
  EXPECT_EQ(PhaseOnePolls(), 900);
  EXPECT_EQ(PhaseTwoPolls(), 1);  // the line is already low
  EXPECT_TRUE(labels_.empty());
}

TEST_F(HandshakeTest, PhaseOneNeedsMoreThan800PollsEvenWhenTheSecondChangedEarly) {
  clock_.ChangeAfter(3, "12:00:01");
  LinkDevice device = MakeDevice();
  device.BeginTransaction();
  EXPECT_TRUE(device.TimedOut());
  EXPECT_EQ(PhaseOnePolls(), 801);
}

TEST_F(HandshakeTest, LineRaisedOnThe801stPollAfterTheSecondChangedStillTimesOut) {
  clock_.ChangeAfter(10, "12:00:01");
  int polls = 0;
  port_.SetReader([&](std::uint16_t) -> std::uint8_t {
    if (Selected()) return 0x00;
    return ++polls >= 801 ? 0x40 : 0x00;
  });
  LinkDevice device = MakeDevice();
  device.BeginTransaction();
  EXPECT_EQ(PhaseOnePolls(), 801);
  EXPECT_TRUE(device.TimedOut());
  EXPECT_TRUE(labels_.empty());
}

TEST_F(HandshakeTest, SlowUnitWithinTheSameSecondAnswersWithoutTimeOut) {
  int polls = 0;
  port_.SetReader([&](std::uint16_t) -> std::uint8_t {
    if (Selected()) return 0x00;
    return ++polls >= 5000 ? 0x40 : 0x00;
  });
  LinkDevice device = MakeDevice();
  device.BeginTransaction();
  EXPECT_EQ(PhaseOnePolls(), 5000);
  EXPECT_FALSE(device.TimedOut());
}

TEST_F(HandshakeTest, LineStuckHighTimesPhaseTwoOutAfter801PollsAndSetsTheLabel) {
  port_.SetReader([](std::uint16_t) -> std::uint8_t { return 0x40; });
  LinkDevice device = MakeDevice();
  device.BeginTransaction();
  EXPECT_TRUE(device.TimedOut());
  EXPECT_EQ(PhaseTwoPolls(), 801);
  EXPECT_EQ(repaints_, 801);
  ASSERT_EQ(labels_.size(), 1u);
  EXPECT_EQ(labels_[0], "       No Device");
}

TEST_F(HandshakeTest, PhaseTwoGivesUpAtOnceWhenItsTwoCharacterMarkChanges) {
  // A long time text: phase 2 compares characters 10 and 11.
  clock_ = testing::FakeClock("0123456789A");
  port_.SetReader([](std::uint16_t) -> std::uint8_t { return 0x40; });
  LinkDevice device = MakeDevice();
  clock_.ChangeAfter(5, "0123456789B");
  device.BeginTransaction();
  EXPECT_TRUE(device.TimedOut());
  EXPECT_EQ(PhaseOnePolls(), 1);
  EXPECT_EQ(PhaseTwoPolls(), 3);  // readings: phase-1 start and poll, phase-2 start, polls
  EXPECT_EQ(labels_.size(), 1u);
}

TEST_F(HandshakeTest, TimedOutCommandSendsNothingAndStillEndsTheTransaction) {
  clock_.ChangeAfter(1, "12:00:01");
  LinkDevice device = MakeDevice();
  EXPECT_FALSE(device.SetPage(3));
  const auto& log = port_.Accesses();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back(), (PortAccess{'W', kControl, 0x00}));
  // Between the select and its release only status polls happen.
  int data_writes_after_select = 0;
  bool selected = false;
  for (const PortAccess& access : log) {
    if (access.kind == 'W' && access.port == kControl) selected = access.value == 1;
    if (selected && access.kind == 'W' && access.port == kData) ++data_writes_after_select;
  }
  EXPECT_EQ(data_writes_after_select, 0);
}

TEST_F(HandshakeTest, BasePortChangeMovesAllThreeAddressesAtTheNextTransaction) {
  AnswerAtOnce();
  LinkDevice device = MakeDevice();
  settings_.base_port = 0x278;
  EXPECT_EQ(device.DataPort(), 0x378);  // nothing moves before the next transaction
  device.BeginTransaction();
  device.ExchangeByte(0x00);
  device.EndTransaction();
  for (const PortAccess& access : port_.Accesses()) {
    EXPECT_TRUE(access.port >= 0x278 && access.port <= 0x27A) << port_.Text();
  }
  EXPECT_EQ(device.DataPort(), 0x278);
  EXPECT_EQ(device.StatusPort(), 0x279);
  EXPECT_EQ(device.ControlPort(), 0x27A);

  settings_.base_port = 0x3BC;
  port_.Clear();
  device.EndTransaction();
  EXPECT_EQ(port_.Accesses(), (std::vector<PortAccess>{{'W', 0x3BE, 0x00}}));
}

TEST(BusyWait, RunsCountPlusOneIterationsAndNoneForNegativeCounts) {
  EXPECT_EQ(BusyWait(0), 1);
  EXPECT_EQ(BusyWait(6912), 6913);
  EXPECT_EQ(BusyWait(-1), 0);
  EXPECT_EQ(BusyWait(-70000), 0);
  // A count above the largest waits as long as the largest: no block takes minutes.
  EXPECT_EQ(BusyWait(kMaxDelayCount), kMaxDelayCount + 1);
  EXPECT_EQ(BusyWait(std::numeric_limits<std::int32_t>::max()), kMaxDelayCount + 1);
}

TEST(SetSpeed, ChoosesOneOfThreeDelaySets) {
  RecordingPort port;
  LinkSettings settings;
  LinkDevice device(port, settings);
  struct Case {
    std::int32_t value, poll, byte, bit;
  };
  for (const Case& c : {Case{-5, 500, 80, 8}, Case{999, 500, 80, 8}, Case{1000, 90000, 1000, 100},
                        Case{2000, 90000, 1000, 100}, Case{99999, 90000, 1000, 100},
                        Case{100000, 180000, 2000, 200}}) {
    device.SetSpeed(c.value);
    EXPECT_EQ(settings.poll_delay, c.poll) << c.value;
    EXPECT_EQ(settings.byte_delay, c.byte) << c.value;
    EXPECT_EQ(settings.bit_delay, c.bit) << c.value;
  }
}

TEST(LinkDeviceDefaults, UsesTheLocalClockWhenNoTimeHookIsGiven) {
  // An answering unit never needs the clock to change; this only checks that the default
  // clock is usable and the device starts in two-slot mode without a time-out.
  RecordingPort port([&port](std::uint16_t) -> std::uint8_t {
    for (auto it = port.Accesses().rbegin(); it != port.Accesses().rend(); ++it) {
      if (it->kind == 'W' && it->port == kControl) return it->value == 1 ? 0x00 : 0x40;
    }
    return 0x40;
  });
  LinkSettings settings;
  settings.byte_delay = settings.poll_delay = -1;
  LinkDevice device(port, settings);
  EXPECT_FALSE(device.PagedMode());
  device.BeginTransaction();
  EXPECT_FALSE(device.TimedOut());
}

}  // namespace
}  // namespace quorvel
