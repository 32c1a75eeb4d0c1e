// Undo descriptions and the bounded undo list.
#include "hexedit/undo_list.h"

#include "host/translatable.h"

namespace quorvel {

// The undo list's own empty description, marked for the translation tools.
static_assert(kNoUndo == QT_TRANSLATE_NOOP("HexEditor", "No Undo"));

std::string_view UndoDescription(UndoKind kind) {
  switch (kind) {
    case UndoKind::kByteChanged:
      return QT_TRANSLATE_NOOP("HexEditor", "Byte changed");
    case UndoKind::kBytesRemoved:
      return QT_TRANSLATE_NOOP("HexEditor", "Byte(s) removed");
    case UndoKind::kInsertBuffer:
      return QT_TRANSLATE_NOOP("HexEditor", "Insert buffer");
    case UndoKind::kReplaceSelection:
      return QT_TRANSLATE_NOOP("HexEditor", "Replace selection");
    case UndoKind::kAppendBuffer:
      return QT_TRANSLATE_NOOP("HexEditor", "Append buffer");
    case UndoKind::kInsertNibble:
      return QT_TRANSLATE_NOOP("HexEditor", "Insert nibble");
    case UndoKind::kDeleteNibble:
      return QT_TRANSLATE_NOOP("HexEditor", "Delete nibble");
    case UndoKind::kConvert:
      return QT_TRANSLATE_NOOP("HexEditor", "Convert");
  }
  return kNoUndo;
}

void UndoList::Push(UndoRecord record) {
  if (records_.size() == kCapacity) records_.pop_front();
  records_.push_back(std::move(record));
}

std::string_view UndoList::Description() const {
  return records_.empty() ? kNoUndo : UndoDescription(records_.back().kind);
}

}  // namespace quorvel
