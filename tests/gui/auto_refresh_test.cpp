// The automatic refresh (Timer3): loading a slot when a card goes in, forgetting it when the
// card comes out, and re-arming only while automatic refresh is on.
#include <numeric>

#include "card/block_io.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

class AutoRefreshTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }
  static CardBuilder SomeCard() {
    return CardBuilder().Add({.name = "SAVE", .blocks = 2, .icons = 1});
  }
};

TEST_F(AutoRefreshTest, SlotOneLoadsOnTheFirstRunThatSeesTheCard) {
  StartTwoSlot(SomeCard(), std::nullopt);
  Detect();
  form().Timer3Timer();
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_FALSE(form().Slot2Loaded);
  EXPECT_TRUE(form().TwoSlotSeen);
  EXPECT_EQ(Text(form().Label5->text()), "    Vantric");
  EXPECT_FALSE(form().AutoRefreshBusy);
  EXPECT_TRUE(form().Timer3->isActive());
  EXPECT_EQ(Captions(kPaneSlot1).size(), 1u);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(AutoRefreshTest, SlotOneNeedsTwoPresenceChecksInARow) {
  StartTwoSlot(SomeCard(), std::nullopt);
  Detect();
  // The run asks for slot 2 first, then twice for slot 1; the card is gone for the third.
  unit().RemoveCardAfter(0, 2);
  form().Timer3Timer();
  EXPECT_FALSE(form().Slot1Loaded);
  EXPECT_TRUE(messages_.texts.empty()) << "no refresh was started";
}

TEST_F(AutoRefreshTest, SlotTwoWaitsUntilTheTwoSlotUnitWasSeen) {
  StartTwoSlot(std::nullopt, SomeCard());
  Detect();
  form().Timer3Timer();
  EXPECT_FALSE(form().Slot2Loaded) << "TwoSlotSeen was still clear";
  EXPECT_TRUE(form().TwoSlotSeen);
  form().Timer3Timer();
  EXPECT_TRUE(form().Slot2Loaded);
  EXPECT_EQ(Captions(kPaneSlot2).size(), 1u);
}

TEST_F(AutoRefreshTest, RemovingSlotOneWithSlotTwoEmptyWaitsThenForgets) {
  StartTwoSlot(SomeCard(), std::nullopt);
  Detect();
  form().Timer3Timer();
  ASSERT_TRUE(form().Slot1Loaded);
  pauses_.clear();
  window_thread_paused_ms_ = 0;

  unit().RemoveCardAfter(0, 0);
  form().Timer3Timer();
  EXPECT_FALSE(form().Slot1Loaded);
  EXPECT_EQ(std::accumulate(pauses_.begin(), pauses_.end(), 0), 3800);
  EXPECT_EQ(window_thread_paused_ms_, 0) << "the window kept its event loop during the pause";
  EXPECT_TRUE(wait_->isVisible()) << "stays up until the next run";
  EXPECT_TRUE(form().Timer3->isActive());
  form().Timer3Timer();
  EXPECT_FALSE(wait_->isVisible());
  form().PaneTick();
  EXPECT_TRUE(Captions(kPaneSlot1).empty());
}

TEST_F(AutoRefreshTest, RemovingSlotTwoForgetsItWithoutWaitingWhenSlotOneHoldsACard) {
  StartTwoSlot(SomeCard(), SomeCard());
  Detect();
  form().Timer3Timer();
  form().Timer3Timer();
  ASSERT_TRUE(form().Slot1Loaded && form().Slot2Loaded);
  pauses_.clear();

  unit().RemoveCardAfter(1, 0);
  form().Timer3Timer();
  EXPECT_FALSE(form().Slot2Loaded);
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_TRUE(pauses_.empty());
  EXPECT_FALSE(wait_->isVisible());
}

TEST_F(AutoRefreshTest, StaysOffWhenAutomaticRefreshIsOff) {
  StartTwoSlot(SomeCard(), std::nullopt);
  settings_.auto_refresh = 0;
  form().Timer3->stop();
  form().Timer3Timer();
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_FALSE(form().Timer3->isActive());
}

TEST_F(AutoRefreshTest, ABlockReadThatGivesUpSwitchesTheAutomaticRefreshOff) {
  StartTwoSlot(SomeCard(), std::nullopt);
  Detect();
  ASSERT_EQ(settings_.auto_refresh, 1);
  // A failed attempt: slot access, the first part request (failed), end of slot access.
  const std::uint64_t next = unit().Transactions();
  for (std::uint64_t attempt = 0; attempt < kSlotReadAttempts; ++attempt) {
    unit().InjectFault(next + 3 * attempt + 2, Fault{.kind = FaultKind::kWrongChecksum});
  }
  Block buffer{};
  OwnLook([&] { EXPECT_FALSE(ReadBlock(form().Slot1Card, 199, buffer)); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{std::string(kReadConnectionError)});
  EXPECT_EQ(settings_.auto_refresh, 0);
}

TEST_F(AutoRefreshTest, NoUnitNeverStartsARefresh) {
  StartNothing();
  form().Slot1Loaded = true;
  form().Timer3Timer();
  EXPECT_FALSE(form().Slot1Loaded) << "the unit is gone";
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_FALSE(wait_->isVisible());
}

}  // namespace
}  // namespace quorvel::test
