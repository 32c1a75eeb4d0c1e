// THexEditor: keys and the mouse, mapped onto the document's operations.
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/thexeditor.h"
#include "hexedit/translation.h"

namespace quorvel {
namespace {

std::optional<HexKey> NavigationKeyOf(int key) {
  switch (key) {
    case Qt::Key_Left:
      return HexKey::kLeft;
    case Qt::Key_Right:
      return HexKey::kRight;
    case Qt::Key_Up:
      return HexKey::kUp;
    case Qt::Key_Down:
      return HexKey::kDown;
    case Qt::Key_PageUp:
      return HexKey::kPageUp;
    case Qt::Key_PageDown:
      return HexKey::kPageDown;
    case Qt::Key_Home:
      return HexKey::kHome;
    case Qt::Key_End:
      return HexKey::kEnd;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return HexKey::kTab;
    case Qt::Key_Insert:
      return HexKey::kInsert;
    case Qt::Key_Backspace:
      return HexKey::kBackspace;
    case Qt::Key_Delete:
      return HexKey::kDelete;
    default:
      return std::nullopt;
  }
}

// The digit of a digit key, also as it arrives with Shift held on a US layout.
int DigitOfKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
  static constexpr char kShifted[] = ")!@#$%^&*(";
  for (int digit = 0; digit < 10; ++digit) {
    if (key == kShifted[digit]) return digit;
  }
  return -1;
}

}  // namespace

bool THexEditor::focusNextPrevChild(bool) { return false; }  // Tab switches fields instead

bool THexEditor::HandleNavigationKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  std::optional<HexKey> key = NavigationKeyOf(event->key());
  if (ctrl && event->key() == Qt::Key_T) key = HexKey::kTab;
  if (!key) return false;
  doc_.HandleKey(*key, KeyModifiers{(mods & Qt::ShiftModifier) != 0, ctrl});
  return true;
}

bool THexEditor::HandleMarkerKey(QKeyEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return false;
  const int digit = DigitOfKey(event->key());
  if (digit < 0) return false;
  doc_.MarkerKey(digit, (event->modifiers() & Qt::ShiftModifier) != 0);
  return true;
}

void THexEditor::TypeText(const QString& text) {
  for (const char32_t ch : text.toUcs4()) {
    if (ch >= 32 && ch != 127) doc_.TypeCharacter(ch);
  }
}

void THexEditor::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers();
  // Alt held with numeric-pad digits composes a character code, entered when Alt goes up.
  if ((mods & Qt::AltModifier) && (mods & Qt::KeypadModifier) && event->key() >= Qt::Key_0 &&
      event->key() <= Qt::Key_9) {
    alt_code_ = alt_code_.value_or(0) * 10 + (event->key() - Qt::Key_0);
    return;
  }
  if (HandleMarkerKey(event) || HandleNavigationKey(event)) return;
  if (!(mods & (Qt::ControlModifier | Qt::AltModifier)) && !event->text().isEmpty()) {
    TypeText(event->text());
    return;
  }
  event->ignore();
}

void THexEditor::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Alt && alt_code_) {
    // The code names a character of the OEM code page; it is entered even below 32.
    const auto code = static_cast<std::uint8_t>(*alt_code_ % 256);
    alt_code_.reset();
    if (const auto ch = ByteToChar(code, TranslationType::ttDos8)) doc_.TypeCharacter(*ch, true);
    return;
  }
  QAbstractScrollArea::keyReleaseEvent(event);
}

void THexEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  mouse_selecting_ = true;
  const auto cell = CellAt(event->position().toPoint());
  const auto caret = cell ? CaretOfCell(*cell) : std::nullopt;
  if (caret) doc_.PlaceCaret(*caret, (event->modifiers() & Qt::ShiftModifier) != 0);
}

void THexEditor::mouseMoveEvent(QMouseEvent* event) {
  if (mouse_selecting_ && (event->buttons() & Qt::LeftButton)) {
    DragTo(event->position().toPoint());
  } else {
    mouse_selecting_ = false;
  }
}

void THexEditor::DragTo(QPoint point) {
  // Above or below the rows shown, the view follows one row per move.
  if (point.y() < 0) {
    ScrollToRow(top_row_ - 1);
    point.setY(0);
  } else if (point.y() >= viewport()->height()) {
    ScrollToRow(top_row_ + 1);
    point.setY(viewport()->height() - 1);
  }
  const auto cell = CellAt(point);
  const auto caret = cell ? CaretOfCell(*cell) : std::nullopt;
  if (caret && !(*caret == doc_.GetCaret())) doc_.PlaceCaret(*caret, true);
}

}  // namespace quorvel
