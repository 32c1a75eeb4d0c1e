// Undo descriptions and the bounded undo list.
#include "hexedit/undo_list.h"

namespace quorvel {

std::string_view UndoDescription(UndoKind kind) {
  switch (kind) {
    case UndoKind::kByteChanged:
      return "Byte changed";
    case UndoKind::kBytesRemoved:
      return "Byte(s) removed";
    case UndoKind::kInsertBuffer:
      return "Insert buffer";
    case UndoKind::kReplaceSelection:
      return "Replace selection";
    case UndoKind::kAppendBuffer:
      return "Append buffer";
    case UndoKind::kInsertNibble:
      return "Insert nibble";
    case UndoKind::kDeleteNibble:
      return "Delete nibble";
    case UndoKind::kConvert:
      return "Convert";
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
