// The hex editor control as a widget: typing and keys through key events, the mouse, the
// columns it draws, the colours of changed and selected cells, and scrolling a big file.
#include "gui/thexeditor.h"

#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <fstream>

#include "gui/hex_window_rig.h"
#include "hexedit/hex_layout.h"

namespace quorvel::test {
namespace {

class HexEditorTest : public MiniEdTest {
 protected:
  THexEditor& editor() { return *form_->HexEditor1; }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&editor(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(&editor(), &release);
  }
  void Type(const QString& text) { QTest::keyClicks(&editor(), text); }
  void Mouse(QEvent::Type type, std::int64_t row, int column, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPoint at = editor().CellRect(row, column).center();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, editor().viewport()->mapToGlobal(at), button, buttons, mods);
    QApplication::sendEvent(editor().viewport(), &event);
  }
  QColor PixelAt(std::int64_t row, int column) {
    const QImage shot = editor().viewport()->grab().toImage();
    return shot.pixelColor(editor().CellRect(row, column).topLeft() + QPoint(0, 1));
  }
};

TEST_F(HexEditorTest, TypingTwoDigitsOverwritesTheFirstByte) {
  Load(std::string(4, '\0'));
  Type("A");
  EXPECT_EQ(doc().GetCaret().nibble, 1);
  Type("5");
  EXPECT_EQ(static_cast<std::uint8_t>(Data()[0]), 0xA5);
  EXPECT_EQ(doc().CaretPosition(), 1);
  EXPECT_EQ(editor().CellText(0, NibbleGridColumn(0, 0)), "A");
  EXPECT_EQ(editor().CellText(0, NibbleGridColumn(0, 1)), "5");
  EXPECT_EQ(Panel(2), "*");
  EXPECT_EQ(Panel(4), "OVW");
}

TEST_F(HexEditorTest, SwappedNibblesShowAndTakeTheLowNibbleFirst) {
  Load(std::string("\xA5\0", 2));
  doc().SetSwapNibbles(true);
  editor().Relayout();
  EXPECT_EQ(editor().CellText(0, NibbleGridColumn(0, 0)), "5");
  EXPECT_EQ(editor().CellText(0, NibbleGridColumn(0, 1)), "A");
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);  // onto the second byte
  Type("A5");
  EXPECT_EQ(static_cast<std::uint8_t>(Data()[1]), 0x5A);
  EXPECT_EQ(editor().CellText(0, NibbleGridColumn(1, 0)), "A");
}

TEST_F(HexEditorTest, KeysMoveTheCaretSelectAndSwitchFields) {
  Load(std::string(100, 'x'));
  Key(Qt::Key_Down);
  EXPECT_EQ(doc().CaretPosition(), 16);
  Key(Qt::Key_End);
  EXPECT_EQ(doc().CaretPosition(), 31);
  Key(Qt::Key_Home, Qt::ShiftModifier);
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 16);
  EXPECT_EQ(doc().GetSelection()->last, 31);
  EXPECT_EQ(Panel(1), "Sel : 16 - 31");
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(doc().CaretPosition(), 99);
  EXPECT_FALSE(doc().GetSelection()) << "a move without Shift clears the selection";
  Key(Qt::Key_Tab);
  EXPECT_EQ(doc().GetCaret().field, CaretField::kChar);
  Key(Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(doc().GetCaret().field, CaretField::kHex);
  EXPECT_TRUE(editor().hasFocus() || !editor().isActiveWindow()) << "Tab stays in the control";
}

TEST_F(HexEditorTest, CharacterFieldTypingAndInsertMode) {
  Load("abcd");
  Key(Qt::Key_Tab);
  Type("Z");
  EXPECT_EQ(Data(), "Zbcd");
  Key(Qt::Key_Insert);
  EXPECT_EQ(Panel(4), "INS");
  EXPECT_EQ(doc().EffectiveCaretStyle(), CaretStyleType::csLeftLine);
  Type("Q");
  EXPECT_EQ(Data(), "ZQbcd") << "inserted before the caret's byte";
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Data(), "Zbcd");
  Key(Qt::Key_Insert);
  EXPECT_EQ(Panel(4), "OVW");
}

TEST_F(HexEditorTest, MarkerKeysSetAndReturnToARow) {
  Load(std::string(64, '\0'));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_NumberSign, Qt::ControlModifier | Qt::ShiftModifier);  // Ctrl+Shift+3
  EXPECT_EQ(doc().Marker(3), 2);
  EXPECT_EQ(editor().CellText(2, 1), "3");
  Key(Qt::Key_Home, Qt::ControlModifier);
  Key(Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(doc().CaretPosition(), 32);
}

TEST_F(HexEditorTest, AltWithNumericPadDigitsEntersThatByte) {
  Load("abcd");
  Key(Qt::Key_Tab);
  Key(Qt::Key_Alt, Qt::AltModifier);
  QKeyEvent digit(QEvent::KeyPress, Qt::Key_7, Qt::AltModifier | Qt::KeypadModifier);
  QApplication::sendEvent(&editor(), &digit);
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
  QApplication::sendEvent(&editor(), &up);
  EXPECT_EQ(Data(), std::string("\x07"
                                "bcd",
                                4))
      << "entered even below 32";
}

TEST_F(HexEditorTest, MousePlacesTheCaretAndDragsASelection) {
  Load(std::string(64, '\0'));
  Mouse(QEvent::MouseButtonPress, 1, NibbleGridColumn(2, 1), Qt::LeftButton);
  EXPECT_EQ(doc().CaretPosition(), 18);
  EXPECT_EQ(doc().GetCaret().nibble, 1);
  Mouse(QEvent::MouseMove, 2, CharGridColumn(5, 16), Qt::LeftButton);
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 18);
  EXPECT_EQ(doc().GetSelection()->last, 37);
  Mouse(QEvent::MouseButtonRelease, 2, CharGridColumn(5, 16), Qt::NoButton);
  Mouse(QEvent::MouseButtonPress, 0, CharGridColumn(3, 16), Qt::LeftButton);
  EXPECT_EQ(doc().GetCaret().field, CaretField::kChar);
  EXPECT_FALSE(doc().GetSelection());
}

TEST_F(HexEditorTest, ColumnsFollowTheWidthRules) {
  Load(std::string(0x12345, '\0'));
  const int w = editor().CharWidth();
  EXPECT_EQ(editor().CellText(1, 0), "0x00010:");
  EXPECT_EQ(editor().ColumnWidth(0), 8 * w);
  EXPECT_EQ(editor().ColumnWidth(1), w) << "marker column";
  // Groups of one byte in this window: the second nibble of every byte carries the gap.
  EXPECT_EQ(editor().ColumnWidth(NibbleGridColumn(0, 0)), w);
  EXPECT_EQ(editor().ColumnWidth(NibbleGridColumn(0, 1)), 2 * w);
  EXPECT_EQ(editor().ColumnWidth(CharGridColumn(0, 16)), w);
  doc().SetBytesPerColumn(2);
  doc().SetShowMarkerColumn(false);
  doc().SetOffsetDisplay(OffsetDisplayType::odDec);
  editor().Relayout();
  EXPECT_EQ(editor().CellText(1, 0), "   16:");
  EXPECT_EQ(editor().ColumnWidth(1), 0);
  EXPECT_EQ(editor().ColumnWidth(NibbleGridColumn(0, 1)), w);
  EXPECT_EQ(editor().ColumnWidth(NibbleGridColumn(1, 1)), 2 * w);
}

TEST_F(HexEditorTest, ChangedAndSelectedCellsTakeTheirColours) {
  Load(std::string(32, '\0'));
  editor().Colors = HexEditorColors::ControlDefaults();
  editor().FocusFrame = true;
  Type("11");  // byte 0 changed; the caret moves on to byte 1
  EXPECT_EQ(PixelAt(0, NibbleGridColumn(0, 0)), QColor(0xFF, 0xFF, 0xA8)) << "changed background";
  EXPECT_EQ(PixelAt(1, NibbleGridColumn(0, 0)), QColor(Qt::white)) << "plain background";
  doc().Select(16, 17);
  // Selected hex cells of unchanged bytes swap to their group colour (navy for even groups,
  // two bytes per group by default).
  doc().SetBytesPerColumn(2);
  editor().Relayout();
  EXPECT_EQ(PixelAt(1, NibbleGridColumn(0, 0)), QColor(0, 0, 0x80));
  EXPECT_EQ(PixelAt(1, CharGridColumn(1, 16)), QColor(Qt::black)) << "font colour";
}

TEST_F(HexEditorTest, PageKeysMoveByTheRowsShownAndTheViewFollows) {
  Load(std::string(16 * 200, '\0'));
  const std::int64_t page = editor().VisibleRows();
  ASSERT_GT(page, 3);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(doc().RowOf(doc().CaretPosition()), page);
  EXPECT_EQ(editor().TopRow(), 1) << "the caret's row comes into view at the bottom";
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(doc().RowOf(doc().CaretPosition()), 1) << "the top row shown";
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(doc().RowOf(doc().CaretPosition()), page) << "the bottom row shown";
  editor().verticalScrollBar()->setValue(50);
  EXPECT_EQ(editor().TopRow(), 50);
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(doc().RowOf(doc().CaretPosition()), 50);
}

TEST_F(HexEditorTest, CtrlAInTheWindowAppendsFFAndSelectsIt) {
  Load("ab");
  QApplication::setActiveWindow(form_.get());
  editor().setFocus();
  QTest::keyClick(&editor(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Data(), "ab\xFF");
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 2);
  EXPECT_EQ(doc().GetSelection()->last, 2);
}

TEST_F(HexEditorTest, ABigFileScrollsToItsLastRowWithoutGrowingMemory) {
  // QUORVEL_SCROLL_TEST_BYTES makes the file bigger (1 GiB for the memory measurement).
  const char* wanted = std::getenv("QUORVEL_SCROLL_TEST_BYTES");
  const std::int64_t size = wanted ? std::atoll(wanted) : (std::int64_t{64} << 20);
  const auto path = dir_.path() / "big.bin";
  std::ofstream(path, std::ios::binary).close();
  std::filesystem::resize_file(path, size);
  ASSERT_TRUE(form_->LoadFile(path.string()));
  std::filesystem::remove(path);
  const auto rss_kib = [] {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0L;
  };
  editor().viewport()->grab();
  const long before = rss_kib();
  QScrollBar* bar = editor().verticalScrollBar();
  const int steps = 400;
  for (int i = 0; i <= steps; ++i) {
    bar->setValue(static_cast<int>(static_cast<std::int64_t>(bar->maximum()) * i / steps));
    editor().viewport()->grab();
    ASSERT_LE(doc().Cache().Length(), 65536);
  }
  const long after = rss_kib();
  const std::int64_t last_row = (size - 1) / 16;
  EXPECT_EQ(editor().TopRow() + editor().VisibleRows() - 1, last_row);
  EXPECT_EQ(editor().CellText(last_row, 0).toStdString(),
            OffsetText(OffsetDisplayType::odHex, last_row * 16, doc().OffsetTextLength(), ':'));
  std::printf("scrolled %lld bytes: VmRSS %ld KiB before, %ld KiB after\n",
              static_cast<long long>(size), before, after);
  EXPECT_LT(after - before, 8 * 1024) << "memory grew while scrolling";
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(editor().TopRow(), 0);
}

}  // namespace
}  // namespace quorvel::test
