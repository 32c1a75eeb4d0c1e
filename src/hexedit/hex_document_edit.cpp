// HexDocument: the edits that change the data, each recorded for undo, and Undo itself.
#include <algorithm>

#include "hexedit/hex_document.h"

namespace quorvel {
namespace {

// The first count bytes of another source.
class PrefixSource : public ByteSource {
 public:
  PrefixSource(const ByteSource& source, std::int64_t count) : source_(source), count_(count) {}
  std::int64_t Size() const override { return count_; }
  bool ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const override {
    return source_.ReadAt(offset, bytes);
  }

 private:
  const ByteSource& source_;
  std::int64_t count_;
};

std::int64_t NibbleIndex(std::int64_t position, bool high_nibble) {
  return 2 * position + (high_nibble ? 0 : 1);
}

bool ChangesLength(const UndoRecord& record) {
  switch (record.kind) {
    case UndoKind::kInsertNibble:
    case UndoKind::kDeleteNibble:
      return true;
    default:
      return record.count != record.old_bytes.Size();
  }
}

}  // namespace

UndoRecord HexDocument::MakeRecord(UndoKind kind, std::int64_t position, std::int64_t count) const {
  UndoRecord record;
  record.kind = kind;
  record.caret = caret_;
  record.selection = selection_;
  record.modified = modified_;
  record.changed_bit = IsChanged(position);
  record.position = position;
  record.count = count;
  return record;
}

void HexDocument::AfterLengthChange(std::int64_t from) {
  cache_.Invalidate();
  changed_.erase(changed_.lower_bound(from), changed_.end());
  caret_.position = std::clamp<std::int64_t>(caret_.position, 0, LastPosition());
}

void HexDocument::SelectNewBytes(std::int64_t position, std::int64_t count) {
  caret_.position = std::clamp<std::int64_t>(position, 0, LastPosition());
  caret_.nibble = 0;
  if (count > 0) {
    selection_ = Selection{position, position, position + count - 1};
  } else {
    selection_.reset();
  }
}

bool HexDocument::ReplaceByte(std::int64_t position, std::uint8_t value) {
  if (position < 0 || position >= Size()) return false;
  const std::uint8_t old = ByteAt(position);
  if (old == value) return true;
  UndoRecord record = MakeRecord(UndoKind::kByteChanged, position, 1);
  if (!record.old_bytes.Save(MemorySource(std::span(&old, 1)))) return false;
  if (!data_->Write(position, std::span(&value, 1))) return false;
  cache_.UpdateByte(position, value);
  if (!InsertMode()) changed_.insert(position);
  modified_ = true;
  undo_.Push(std::move(record));
  Notify();
  return true;
}

// Replaces count bytes at position by bytes as one undo step of kind; the new bytes end up
// selected (a removal leaves the caret where the bytes were).
bool HexDocument::ReplaceRange(UndoKind kind, std::int64_t position, std::int64_t count,
                               const ByteSource& bytes) {
  if (position < 0 || count < 0 || position > Size() - count) return false;
  if (no_size_change_ && bytes.Size() != count) return false;
  if (count == 0 && bytes.Size() == 0) return false;
  UndoRecord record = MakeRecord(kind, position, bytes.Size());
  if (!record.old_bytes.Save(FileRangeSource(data_->File(), position, count))) return false;
  const bool written = data_->Replace(position, count, bytes);
  AfterLengthChange(position);
  if (!written) return false;
  modified_ = true;
  undo_.Push(std::move(record));
  SelectNewBytes(position, bytes.Size());
  Notify();
  return true;
}

bool HexDocument::InsertBuffer(std::span<const std::uint8_t> bytes, std::int64_t position) {
  return ReplaceRange(UndoKind::kInsertBuffer, position, 0, MemorySource(bytes));
}

bool HexDocument::AppendBuffer(std::span<const std::uint8_t> bytes) {
  return ReplaceRange(UndoKind::kAppendBuffer, Size(), 0, MemorySource(bytes));
}

bool HexDocument::ReplaceSelection(std::span<const std::uint8_t> bytes) {
  return ReplaceSelectionFrom(MemorySource(bytes));
}

bool HexDocument::ReplaceSelectionFrom(const ByteSource& bytes) {
  if (!selection_) return false;
  std::int64_t count = selection_->Count();
  if (no_size_change_) {
    count = std::min(count, bytes.Size());
    return ReplaceRange(UndoKind::kReplaceSelection, selection_->first, count,
                        PrefixSource(bytes, count));
  }
  return ReplaceRange(UndoKind::kReplaceSelection, selection_->first, count, bytes);
}

bool HexDocument::DeleteSelection() {
  if (!selection_) return false;
  return ReplaceRange(UndoKind::kBytesRemoved, selection_->first, selection_->Count(),
                      MemorySource({}));
}

bool HexDocument::DeleteByte(std::int64_t position) {
  return ReplaceRange(UndoKind::kBytesRemoved, position, 1, MemorySource({}));
}

bool HexDocument::Paste(std::span<const std::uint8_t> bytes) {
  if (selection_) return ReplaceSelection(bytes);
  return InsertBuffer(bytes, Size() == 0 ? 0 : caret_.position);
}

bool HexDocument::InsertNibble(std::int64_t position, bool high_nibble) {
  return ShiftNibble(UndoKind::kInsertNibble, position, high_nibble);
}

bool HexDocument::DeleteNibble(std::int64_t position, bool high_nibble) {
  return ShiftNibble(UndoKind::kDeleteNibble, position, high_nibble);
}

bool HexDocument::ShiftNibble(UndoKind kind, std::int64_t position, bool high_nibble) {
  const bool insert = kind == UndoKind::kInsertNibble;
  const std::int64_t limit = insert ? Size() : Size() - 1;
  if (no_size_change_ || position < 0 || position > limit) return false;
  const std::int64_t index = NibbleIndex(position, high_nibble);
  UndoRecord record = MakeRecord(kind, index, 0);
  if (!insert) {
    // The byte losing the nibble, and the last byte, whose low nibble falls off the end.
    const std::uint8_t old[2] = {ByteAt(position), ByteAt(Size() - 1)};
    if (!record.old_bytes.Save(MemorySource(old))) return false;
  }
  const bool shifted = insert ? data_->InsertNibble(index) : data_->DeleteNibble(index);
  AfterLengthChange(position);
  if (!shifted) return false;
  modified_ = true;
  undo_.Push(std::move(record));
  Notify();
  return true;
}

bool HexDocument::ConvertSelection(TranslationType from, TranslationType to) {
  if (!selection_) return false;
  const std::int64_t first = selection_->first;
  const std::int64_t count = selection_->Count();
  UndoRecord record = MakeRecord(UndoKind::kConvert, first, count);
  if (!record.old_bytes.Save(FileRangeSource(data_->File(), first, count))) return false;
  std::vector<std::uint8_t> piece;
  for (std::int64_t done = 0; done < count;) {
    piece.resize(static_cast<std::size_t>(std::min(count - done, kCopyChunk)));
    if (!data_->Read(first + done, piece)) return false;
    for (std::uint8_t& b : piece) {
      const auto ch = ByteToChar(b, from);
      const auto converted = ch ? EncodeChar(*ch, to) : std::nullopt;
      b = converted.value_or(b);
    }
    if (!data_->Write(first + done, piece)) return false;
    done += static_cast<std::int64_t>(piece.size());
  }
  cache_.Invalidate();
  modified_ = true;
  undo_.Push(std::move(record));
  Notify();
  return true;
}

bool HexDocument::RevertRecord(const UndoRecord& record) {
  switch (record.kind) {
    case UndoKind::kInsertNibble:
      return data_->DeleteNibble(record.position);
    case UndoKind::kDeleteNibble: {
      std::uint8_t old[2];
      // Deleting the last byte's nibbles took the whole byte: re-insert at the end then.
      return data_->InsertNibble(std::min(record.position, 2 * Size())) &&
             record.old_bytes.ReadAt(0, old) &&
             data_->Write(record.position / 2, std::span(old, 1)) &&
             data_->Write(Size() - 1, std::span(old + 1, 1));
    }
    default:
      return data_->Replace(record.position, record.count, record.old_bytes);
  }
}

bool HexDocument::CanUndo() const {
  return !undo_.Empty() && !(no_size_change_ && ChangesLength(undo_.Newest()));
}

bool HexDocument::Undo() {
  if (!CanUndo()) return false;
  const UndoRecord& record = undo_.Newest();
  const bool reverted = RevertRecord(record);
  const bool nibble =
      record.kind == UndoKind::kInsertNibble || record.kind == UndoKind::kDeleteNibble;
  const std::int64_t byte = nibble ? record.position / 2 : record.position;
  if (record.kind == UndoKind::kByteChanged) {
    cache_.Invalidate();
    if (record.changed_bit) {
      changed_.insert(byte);
    } else {
      changed_.erase(byte);
    }
  } else {
    AfterLengthChange(byte);
  }
  if (!reverted) {
    Notify();
    return false;
  }
  caret_ = record.caret;
  caret_.position = std::clamp<std::int64_t>(caret_.position, 0, LastPosition());
  selection_ = record.selection;
  modified_ = record.modified;
  undo_.DropNewest();
  Notify();
  return true;
}

}  // namespace quorvel
