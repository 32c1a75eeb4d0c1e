// The hex editor's undo list: up to 100 records of what an edit changed and the caret,
// selection and modified flag from before it.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>

#include "hexedit/byte_source.h"
#include "hexedit/hex_caret.h"

namespace quorvel {

enum class UndoKind {
  kByteChanged = 0,
  kBytesRemoved = 1,
  kInsertBuffer = 2,
  kReplaceSelection = 3,
  kAppendBuffer = 4,
  kInsertNibble = 5,
  kDeleteNibble = 6,
  kConvert = 7,
};

std::string_view UndoDescription(UndoKind kind);
inline constexpr std::string_view kNoUndo = "No Undo";

struct UndoRecord {
  UndoKind kind = UndoKind::kByteChanged;
  Caret caret;
  std::optional<Selection> selection;
  bool modified = false;
  bool changed_bit = false;   // whether the byte at position was marked changed
  std::int64_t position = 0;  // first byte touched; the nibble index for nibble kinds
  std::int64_t count = 0;     // bytes written by the edit (inserted, appended, replacing)
  SavedBytes old_bytes;       // what the edit overwrote or removed, where the kind needs it
};

class UndoList {
 public:
  static constexpr std::size_t kCapacity = 100;

  // Adds a record; the oldest one goes when the list is full.
  void Push(UndoRecord record);
  bool Empty() const { return records_.empty(); }
  std::size_t Count() const { return records_.size(); }
  const UndoRecord& Newest() const { return records_.back(); }
  void DropNewest() { records_.pop_back(); }
  void Clear() { records_.clear(); }
  // The newest record's description, or "No Undo".
  std::string_view Description() const;

 private:
  std::deque<UndoRecord> records_;
};

}  // namespace quorvel
