// The wait window: borderless, its own picture, the scrolling warning and its timers.
#include <QApplication>

#include "gui/centre_on.h"
#include "gui/twaitform.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

class WaitFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
};

TEST_F(WaitFormTest, PictureStripAndBorder) {
  TwaitForm wait;
  EXPECT_TRUE(wait.windowFlags() & Qt::FramelessWindowHint);
  wait.show();  // the picture is drawn for the first show
  ASSERT_FALSE(wait.Image1->pixmap().isNull());
  EXPECT_EQ(wait.Image1->pixmap().size(), QSize(200, 175));
  wait.hide();
  EXPECT_EQ(wait.TextStrip->Text().toStdString(), "當資料傳送中,切勿把記憶卡移去!");
  EXPECT_EQ(wait.width(), 200);
  EXPECT_EQ(wait.ScrollTimer->interval(), 10);
  EXPECT_EQ(wait.CloseTimer->interval(), 18000);
  EXPECT_FALSE(wait.CloseTimer->isActive());
}

TEST_F(WaitFormTest, TextScrollsOnlyWhileShownAndComesBackFromTheRight) {
  TwaitForm wait;
  EXPECT_FALSE(wait.ScrollTimer->isActive());
  wait.show();
  EXPECT_TRUE(wait.ScrollTimer->isActive());
  const int start = wait.TextStrip->Offset();
  Fire(wait.ScrollTimer);
  EXPECT_EQ(wait.TextStrip->Offset(), start - 1);
  const int text_width = wait.TextStrip->fontMetrics().horizontalAdvance(wait.TextStrip->Text());
  for (int i = 0; i < text_width; ++i) wait.TextStrip->Step();
  EXPECT_EQ(wait.TextStrip->Offset(), wait.TextStrip->width()) << "endless: back at the right";
  wait.hide();
  EXPECT_FALSE(wait.ScrollTimer->isActive());
}

TEST_F(WaitFormTest, CentresOnTheOwnerRoundingTowardZero) {
  QWidget owner;
  owner.setGeometry(101, 51, 665, 561);
  TwaitForm wait;
  CentreOn(wait, owner);
  const QRect frame = owner.frameGeometry();
  EXPECT_EQ(wait.x(), frame.left() + (frame.width() - wait.width()) / 2);
  EXPECT_EQ(wait.y(), frame.top() + (frame.height() - wait.height()) / 2);
}

TEST_F(WaitFormTest, CloseTimerEndsTheModalShow) {
  TwaitForm wait;
  wait.CloseTimer->start();
  QTimer::singleShot(0, [&] { Fire(wait.CloseTimer); });
  wait.exec();
  EXPECT_FALSE(wait.isVisible());
}

}  // namespace
}  // namespace quorvel::test
