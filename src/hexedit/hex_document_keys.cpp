// HexDocument: the keys and typing rules of the control, as operations on the document.
#include <algorithm>

#include "hexedit/hex_document.h"
#include "hexedit/hex_text.h"

namespace quorvel {

Caret HexDocument::RowTarget(std::int64_t row) const {
  Caret target = caret_;
  const std::int64_t last_row = RowCount() - 1;
  row = std::clamp<std::int64_t>(row, 0, last_row);
  target.position = row * bytes_per_line_ + caret_.position % bytes_per_line_;
  return target;  // MoveCaret clamps a column past the last byte onto the last byte
}

Caret HexDocument::VerticalTarget(std::int64_t rows_delta) const {
  return RowTarget(RowOf(caret_.position) + rows_delta);
}

Caret HexDocument::NavigationTarget(HexKey key, KeyModifiers modifiers) const {
  Caret target = caret_;
  const bool hex = caret_.field == CaretField::kHex;
  const std::int64_t row_start = RowOf(caret_.position) * bytes_per_line_;
  const std::int64_t row_end = std::min(row_start + bytes_per_line_ - 1, LastPosition());
  switch (key) {
    case HexKey::kLeft:
      if (modifiers.ctrl) {
        target = Caret{row_start, caret_.field, 0};
      } else if (hex && caret_.nibble == 1) {
        target.nibble = 0;
      } else if (caret_.position > 0) {
        target = Caret{caret_.position - 1, caret_.field, hex ? 1 : 0};
      }
      break;
    case HexKey::kRight:
      if (modifiers.ctrl) {
        target = Caret{row_end, caret_.field, hex ? 1 : 0};
      } else if (hex && caret_.nibble == 0 && Size() > 0) {
        target.nibble = 1;
      } else if (caret_.position + 1 < Size()) {
        target = Caret{caret_.position + 1, caret_.field, 0};
      }
      break;
    case HexKey::kUp:
      if (RowOf(caret_.position) > 0) target = VerticalTarget(-1);
      break;
    case HexKey::kDown:
      target = VerticalTarget(1);
      break;
    case HexKey::kPageUp:
      target = modifiers.ctrl ? RowTarget(top_row_) : VerticalTarget(-visible_rows_);
      break;
    case HexKey::kPageDown:
      target =
          modifiers.ctrl ? RowTarget(top_row_ + visible_rows_ - 1) : VerticalTarget(visible_rows_);
      break;
    case HexKey::kHome:
      target = Caret{modifiers.ctrl ? 0 : row_start, caret_.field, 0};
      break;
    case HexKey::kEnd:
      target = Caret{modifiers.ctrl ? LastPosition() : row_end, caret_.field, 0};
      break;
    case HexKey::kTab:
      target = Caret{caret_.position, hex ? CaretField::kChar : CaretField::kHex, 0};
      break;
    default:
      break;
  }
  return target;
}

void HexDocument::HandleKey(HexKey key, KeyModifiers modifiers) {
  switch (key) {
    case HexKey::kInsert:
      ToggleInsertMode();
      return;
    case HexKey::kBackspace:
      Backspace(modifiers);
      return;
    case HexKey::kDelete:
      DeleteKey(modifiers.ctrl);
      return;
    default:
      MoveCaret(NavigationTarget(key, modifiers), modifiers.shift);
  }
}

void HexDocument::MarkerKey(int k, bool shift) {
  if (shift) {
    SetMarker(k, RowOf(caret_.position));
    return;
  }
  const std::int64_t marker = Marker(k);
  const std::int64_t row = marker >= 0 ? marker : RowOf(caret_.position);
  Caret target{std::min(row, RowCount() - 1) * bytes_per_line_, CaretField::kHex, 0};
  MoveCaret(target, false);
}

void HexDocument::ToggleInsertMode() {
  if (!AllowInsertMode()) return;
  insert_mode_ = !insert_mode_;
  changed_.clear();
  Notify();
}

void HexDocument::Backspace(KeyModifiers modifiers) {
  if (!InsertMode()) {
    HandleKey(HexKey::kLeft, modifiers);
  } else if (selection_) {
    DeleteSelection();
  } else if (caret_.position > 0 && Size() > 0) {
    DeleteByte(caret_.position - 1);
  }
}

void HexDocument::DeleteKey(bool ctrl) {
  if (ctrl || (selection_ && InsertMode())) {
    DeleteSelection();
  } else if (InsertMode() && Size() > 0) {
    DeleteByte(caret_.position);
  }
}

void HexDocument::TypeCharacter(char32_t ch, bool alt_entry) {
  if (caret_.field == CaretField::kHex) {
    const int digit = ch < 128 ? HexDigitValue(static_cast<char>(ch)) : -1;
    if (digit >= 0) TypeHexDigit(digit);
    return;
  }
  if (const auto byte = TypedCharToByte(ch, translation_, alt_entry)) TypeByteInCharField(*byte);
}

void HexDocument::TypeHexDigit(int digit) {
  const bool on_first = caret_.nibble == 0 || selection_.has_value();
  const bool sets_high = on_first != swap_nibbles_;
  const auto only_typed = static_cast<std::uint8_t>(sets_high ? digit << 4 : digit);
  const std::int64_t position = caret_.position;
  if (!InsertMode() || (caret_.nibble == 1 && !selection_)) {
    if (Size() == 0) return;
    const std::uint8_t old = ByteAt(position);
    const auto value = static_cast<std::uint8_t>(sets_high ? (old & 0x0F) | only_typed
                                                           : (old & 0xF0) | only_typed);
    if (!ReplaceByte(position, value)) return;
    if (InsertMode() && position == Size() - 1) {
      const std::uint8_t zero = 0;
      if (!AppendBuffer(std::span(&zero, 1))) return;
      caret_ = Caret{position, CaretField::kHex, 1};
    }
  } else {
    const std::span<const std::uint8_t> byte(&only_typed, 1);
    const bool done = Size() == 0  ? AppendBuffer(byte)
                      : selection_ ? ReplaceSelection(byte)
                                   : InsertBuffer(byte, position);
    if (!done) return;
  }
  HandleKey(HexKey::kRight);
}

void HexDocument::TypeByteInCharField(std::uint8_t byte) {
  const std::span<const std::uint8_t> bytes(&byte, 1);
  bool done;
  if (!InsertMode()) {
    done = Size() > 0 && ReplaceByte(caret_.position, byte);
  } else if (selection_) {
    done = ReplaceSelection(bytes);
  } else {
    done = InsertBuffer(bytes, Size() == 0 ? 0 : caret_.position);
  }
  if (done) HandleKey(HexKey::kRight);
}

}  // namespace quorvel
