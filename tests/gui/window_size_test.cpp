// The main window grows: the panes take the room, the buttons at the foot of the left column
// follow the bottom edge, nothing overlaps, and back at the default size every control is where
// it was and the window looks the same to the pixel. Icons stay sharp on hi-DPI screens.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <map>
#include <set>

#include "gui/pictures.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

class WindowSizeTest : public WindowTest {
 protected:
  // Every control of the window with its geometry in window coordinates.
  std::map<std::string, QRect> Geometries() {
    std::map<std::string, QRect> all;
    for (QWidget* widget : form().findChildren<QWidget*>()) {
      // The program's controls, not Qt's own parts (the hidden scroll bars' containers).
      if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_") ||
          widget->isWindow()) {
        continue;
      }
      all[Text(widget->objectName())] = QRect(widget->mapTo(&form(), QPoint(0, 0)), widget->size());
    }
    return all;
  }

  QRect At(const QWidget* widget) {
    return QRect(widget->mapTo(&form(), QPoint(0, 0)), widget->size());
  }

  // The rows of icons a list shows.
  static int Rows(const QListWidget* list) {
    std::set<int> tops;
    for (int i = 0; i < list->count(); ++i) tops.insert(list->visualItemRect(list->item(i)).y());
    return static_cast<int>(tops.size());
  }

  void ResizeTo(int width, int height) {
    form().resize(width, height);
    QCoreApplication::processEvents();
  }
};

TEST_F(WindowSizeTest, PanesTakeTheRoomAndTheFootButtonsFollowTheBottomEdge) {
  WriteQuickConfig();
  CardBuilder full;
  for (int i = 0; i < 40; ++i) full.Add({.name = "S" + std::to_string(i), .icons = 1});
  StartTwoSlot(full, full);
  Detect();
  form().Refresh_Slot1Click();
  form().refresh_slot2Click();
  QCoreApplication::processEvents();
  const QRect list_before = At(form().Card1ListView);
  const QRect file_before = At(form().FileListView);
  const int rows_before = Rows(form().Card1ListView);
  const QListWidget* small = form().Card1ListView;
  EXPECT_GT(small->visualItemRect(small->item(small->count() - 1)).right(),
            small->viewport()->width())
      << "40 saves do not fit the default pane";

  ResizeTo(1200, 900);
  const TForm1& f = form();
  EXPECT_EQ(At(f.Splitter1), QRect(240, 0, 960, 900));
  for (const QWidget* list : {f.Card1ListView, f.Card2ListView, f.FileListView}) {
    EXPECT_GT(list->width(), 0);
  }
  EXPECT_GT(f.Card1ListView->width() + f.Card2ListView->width(), 2 * list_before.width());
  EXPECT_GT(f.Card1ListView->height(), list_before.height());
  EXPECT_GT(f.FileListView->width(), file_before.width());
  EXPECT_GT(f.FileListView->height(), file_before.height());
  // More rows, and the 40 saves now fit without scrolling sideways.
  EXPECT_GT(Rows(f.Card1ListView), rows_before);
  const QListWidget* list = f.Card1ListView;
  EXPECT_LE(list->visualItemRect(list->item(list->count() - 1)).right(), list->viewport()->width());

  EXPECT_EQ(At(f.BitBtn), QRect(8, 462 + 339, 72, 32));
  EXPECT_EQ(At(f.QUIT), QRect(160, 504 + 339, 72, 32));
  // Nothing overlaps: the left column's controls stay left of the panes and above the foot
  // buttons, which stay inside the window.
  for (const QWidget* control : {static_cast<QWidget*>(f.Label5), static_cast<QWidget*>(f.Panel2),
                                 static_cast<QWidget*>(f.NamePanel), static_cast<QWidget*>(f.Info2),
                                 static_cast<QWidget*>(f.BitBtn2), static_cast<QWidget*>(f.QUIT)}) {
    EXPECT_LE(At(control).right(), 239) << Text(control->objectName());
  }
  EXPECT_LT(At(f.Info2).bottom(), At(f.BitBtn).top());
  EXPECT_LE(At(f.QUIT).bottom(), 899);
  EXPECT_LT(At(f.BitBtn).bottom(), At(f.optBitBtn).top());
}

TEST_F(WindowSizeTest, TheDefaultSizeIsUnchangedAfterGrowing) {
  WriteQuickConfig();
  StartTwoSlot(CardBuilder().Add({.name = "A", .icons = 1}), std::nullopt);
  Detect();
  form().Refresh_Slot1Click();
  QCoreApplication::processEvents();
  const std::map<std::string, QRect> before = Geometries();
  EXPECT_EQ(before.at("Splitter1"), QRect(240, 0, 425, 561));
  EXPECT_EQ(before.at("BitBtn"), QRect(8, 462, 72, 32));
  EXPECT_EQ(before.at("optBitBtn"), QRect(8, 504, 148, 32));
  const QImage picture = form().grab().toImage();

  ResizeTo(1000, 700);
  ResizeTo(665, 561);
  const std::map<std::string, QRect> after = Geometries();
  for (const auto& [name, rect] : before) {
    EXPECT_EQ(after.at(name), rect) << name << " was " << rect.x() << "," << rect.y() << " "
                                    << rect.width() << "x" << rect.height();
  }
  EXPECT_TRUE(form().grab().toImage() == picture);
}

TEST_F(WindowSizeTest, TheParkedSelectionPanelStaysOutOfATallWindow) {
  WriteQuickConfig();
  StartTwoSlot(CardBuilder().Add({.name = "A", .icons = 1}), std::nullopt);
  ResizeTo(800, 1000);
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Parked);
  EXPECT_TRUE(form().Panel2->isHidden());
  EXPECT_TRUE(form().NamePanel->isHidden());
  Detect();
  form().Refresh_Slot1Click();
  Select(kPaneSlot1, {0});
  form().Card1ListViewClick();
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Home);
  EXPECT_FALSE(form().Panel2->isHidden());
  EXPECT_FALSE(form().NamePanel->isHidden());
}

TEST(SharpPixmap, EachPixelBecomesABlockOfTheSameColour) {
  EnsureApplication();
  QImage icon(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) icon.setPixel(x, y, (x + y) % 2 ? 0xFF0000 : 0x00FF00);
  }
  const QPixmap plain = SharpPixmap(icon, 1.0);
  EXPECT_EQ(plain.size(), QSize(32, 32));
  EXPECT_TRUE(plain.toImage().convertToFormat(QImage::Format_RGB32) == icon);
  for (const qreal ratio : {1.25, 2.0}) {
    const QPixmap sharp = SharpPixmap(icon, ratio);
    EXPECT_EQ(sharp.size(), QSize(64, 64)) << ratio;
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0) << ratio;
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(32, 32)) << ratio;
    const QImage big = sharp.toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        ASSERT_EQ(big.pixel(x, y), icon.pixel(x / 2, y / 2)) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(SharpPixmap(icon, 3.0).size(), QSize(96, 96));
}

}  // namespace
}  // namespace quorvel::test
