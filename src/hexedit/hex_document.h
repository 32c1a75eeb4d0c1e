// The document behind the hex editor control: the data in a private working file, the caret,
// selection, markers, modes and typing rules, the undo list, translations, find and hex text.
// The widget only draws what this class says and maps key and mouse events onto it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "hexedit/hex_caret.h"
#include "hexedit/hex_layout.h"
#include "hexedit/read_cache.h"
#include "hexedit/translation.h"
#include "hexedit/undo_list.h"
#include "hexedit/working_data.h"

namespace quorvel {

// Raised for invalid property and position arguments, with the control's own texts.
class HexEditorError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

enum class CaretStyleType { csFull, csLeftLine, csBottomLine };

// The keys the control handles itself (the grid's own navigation is replaced by these).
enum class HexKey {
  kLeft,
  kRight,
  kUp,
  kDown,
  kPageUp,
  kPageDown,
  kHome,
  kEnd,
  kTab,
  kInsert,
  kBackspace,
  kDelete,
};

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
};

class HexDocument {
 public:
  static constexpr int kMarkerCount = 10;

  HexDocument();
  HexDocument(const HexDocument&) = delete;
  HexDocument& operator=(const HexDocument&) = delete;

  // --- Files -------------------------------------------------------------------------------
  // Copies an existing file into a fresh working file; false (nothing changes) when the file
  // is missing or the copy fails. The document is read-only when the file is not writable.
  bool Open(const std::filesystem::path& path);
  // An empty document named name, read-only (there is no file to save back to).
  void New(std::string name = "Untitled");
  // Writes the data to path, first backing the current file up (see CreateBackup).
  bool Save(const std::filesystem::path& path);
  // "---" after construction, "Untitled" for a new document, else the opened/saved file.
  const std::string& FileName() const { return file_name_; }
  const std::filesystem::path& WorkingFilePath() const { return data_->Path(); }
  bool Modified() const { return modified_; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);

  // --- Properties --------------------------------------------------------------------------
  int BytesPerLine() const { return bytes_per_line_; }
  void SetBytesPerLine(int value);  // 1 to 256, else "Invalid BytesPerLine argument"
  int BytesPerColumn() const { return bytes_per_column_; }
  void SetBytesPerColumn(int value);  // values below 1 are ignored
  OffsetDisplayType OffsetDisplay() const { return offset_display_; }
  void SetOffsetDisplay(OffsetDisplayType value) { offset_display_ = value; }
  char OffsetSeparator() const { return offset_separator_; }
  void SetOffsetSeparator(char value) { offset_separator_ = value; }
  CaretStyleType CaretStyle() const { return caret_style_; }
  void SetCaretStyle(CaretStyleType value) { caret_style_ = value; }
  bool AutoCaretMode() const { return auto_caret_mode_; }
  void SetAutoCaretMode(bool value) { auto_caret_mode_ = value; }
  // The caret style to draw: with AutoCaretMode it follows the mode.
  CaretStyleType EffectiveCaretStyle() const;
  TranslationType Translation() const { return translation_; }
  void SetTranslation(TranslationType value) { translation_ = value; }
  bool MaskWhiteSpaces() const { return mask_white_spaces_; }
  void SetMaskWhiteSpaces(bool value) { mask_white_spaces_ = value; }
  char32_t MaskChar() const { return mask_char_; }
  void SetMaskChar(char32_t value) { mask_char_ = value; }
  bool SwapNibbles() const { return swap_nibbles_; }
  void SetSwapNibbles(bool value) { swap_nibbles_ = value; }
  bool ShowMarkerColumn() const { return show_marker_column_; }
  void SetShowMarkerColumn(bool value) { show_marker_column_ = value; }
  // Forced false while NoSizeChange is set.
  bool AllowInsertMode() const { return allow_insert_mode_ && !no_size_change_; }
  void SetAllowInsertMode(bool value);
  bool NoSizeChange() const { return no_size_change_; }
  void SetNoSizeChange(bool value);
  bool CreateBackup() const { return create_backup_; }
  void SetCreateBackup(bool value) { create_backup_ = value; }
  const std::string& BackupExtension() const { return backup_extension_; }
  void SetBackupExtension(std::string value) { backup_extension_ = std::move(value); }
  // Raised after every change of data, caret, selection, mode, modified or read-only state.
  std::function<void()> OnStateChanged;

  // --- Data and drawing --------------------------------------------------------------------
  std::int64_t Size() const { return data_->Size(); }
  // count bytes from position; "Invalid BufferFromFile argument" outside the data.
  std::vector<std::uint8_t> BufferFromFile(std::int64_t position, std::int64_t count) const;
  // The bytes of one row through the read cache (valid until the next call; empty on a read
  // error or past the data).
  std::span<const std::uint8_t> RowBytes(std::int64_t row);
  const ReadCache& Cache() const { return cache_; }
  // Whether the byte was changed in overwrite mode (drawn in the changed colours).
  bool IsChanged(std::int64_t position) const { return changed_.contains(position); }
  std::size_t ChangedCount() const { return changed_.size(); }
  // The character field's character for a byte under the current translation and masking.
  char32_t DisplayCharOf(std::uint8_t byte) const;
  std::int64_t RowCount() const { return quorvel::RowCount(Size(), bytes_per_line_); }
  std::int64_t RowOf(std::int64_t position) const { return position / bytes_per_line_; }
  int OffsetTextLength() const;
  std::string OffsetTextOfRow(std::int64_t row) const;

  // --- Caret, selection, view, markers ----------------------------------------------------
  const Caret& GetCaret() const { return caret_; }
  // The caret's byte, within 0 ... size - 1 (0 for no data).
  std::int64_t CaretPosition() const { return caret_.position; }
  // Puts the caret on a cell (mouse); with extend the selection grows from its anchor.
  void PlaceCaret(Caret caret, bool extend_selection);
  const std::optional<Selection>& GetSelection() const { return selection_; }
  std::int64_t SelCount() const { return selection_ ? selection_->Count() : 0; }
  // Anchor and caret at position, one byte selected; "Invalid SelStart" outside the data.
  void SetSelStart(std::int64_t position);
  // The caret moves to position and the selection reaches from the anchor to it;
  // "Invalid SelEnd" outside the data.
  void SetSelEnd(std::int64_t position);
  // Selects first ... last (inside the data) with the anchor at first and the caret on last.
  void Select(std::int64_t first, std::int64_t last);
  void SelectAll();
  void ClearSelection();
  // origin 0 from the start, 1 from the caret, 2 from the last byte; with check a target
  // outside the data fails, without it the target is clamped. The caret lands on the target.
  bool Seek(std::int64_t value, int origin, bool check);
  // The rows the widget shows, for Page Up/Down and their Ctrl forms.
  void SetView(std::int64_t top_row, std::int64_t visible_rows);
  std::int64_t TopRow() const { return top_row_; }
  std::int64_t Marker(int index) const;         // the row, or -1
  void SetMarker(int index, std::int64_t row);  // "SetMarker : Invalid marker index"

  // --- Modes, keys and typing --------------------------------------------------------------
  bool InsertMode() const { return insert_mode_ && AllowInsertMode(); }
  void HandleKey(HexKey key, KeyModifiers modifiers = {});
  // Ctrl+digit (go to marker k's row) and Ctrl+Shift+digit (set marker k to the caret's row).
  void MarkerKey(int k, bool shift);
  // A character typed into the control: a hexadecimal digit in the hex field, any character
  // in the character field; alt_entry marks a numeric-pad code entered with Alt.
  void TypeCharacter(char32_t ch, bool alt_entry = false);

  // --- Edits (each one undo step; false when refused or when the file failed) --------------
  // Overwrites one byte; nothing happens when the value is equal.
  bool ReplaceByte(std::int64_t position, std::uint8_t value);
  bool InsertBuffer(std::span<const std::uint8_t> bytes, std::int64_t position);
  bool AppendBuffer(std::span<const std::uint8_t> bytes);
  // With NoSizeChange the shorter of buffer and selection decides the replaced length.
  bool ReplaceSelection(std::span<const std::uint8_t> bytes);
  bool DeleteSelection();
  bool DeleteByte(std::int64_t position);
  // Inserts a zero nibble before / removes the high (or low) nibble of the byte at position,
  // shifting the rest of the data by four bits.
  bool InsertNibble(std::int64_t position, bool high_nibble);
  bool DeleteNibble(std::int64_t position, bool high_nibble);
  // Re-encodes the selected bytes from one translation to another (bytes without a
  // counterpart stay).
  bool ConvertSelection(TranslationType from, TranslationType to);
  // Clipboard paste: replaces the selection, or inserts at the caret without one.
  bool Paste(std::span<const std::uint8_t> bytes);

  // --- Undo --------------------------------------------------------------------------------
  std::string_view UndoDescription() const { return undo_.Description(); }
  // False also when Undo would refuse the newest step (one that changes the length while
  // NoSizeChange is set).
  bool CanUndo() const;
  std::size_t UndoCount() const { return undo_.Count(); }
  bool Undo();

  // --- Find and hex text -------------------------------------------------------------------
  // First position p >= first whose match ends at or before last, or -1.
  std::int64_t Find(std::span<const std::uint8_t> pattern, bool ignore_case, std::int64_t last,
                    std::int64_t first) const;
  // A search text converted to the current translation, or nullopt when it cannot occur.
  std::optional<std::vector<std::uint8_t>> TextPattern(std::u32string_view text) const;
  // The selection as hex text without exchanged nibbles (the clipboard form).
  std::string SelectionAsHexText() const;
  // The whole data as one line of hex text (SwapNibbles applies) written to path.
  bool SaveAsHexText(const std::filesystem::path& path) const;
  // Replaces the whole data with the bytes parsed from a hex text file (SwapNibbles applies).
  bool LoadFromHexText(const std::filesystem::path& path);

 private:
  void Notify();
  std::uint8_t ByteAt(std::int64_t position);
  std::int64_t LastPosition() const { return Size() > 0 ? Size() - 1 : 0; }
  void ResetDocument(std::unique_ptr<WorkingData> data);
  void MoveCaret(Caret target, bool extend_selection);
  Caret NavigationTarget(HexKey key, KeyModifiers modifiers) const;
  Caret VerticalTarget(std::int64_t rows_delta) const;
  Caret RowTarget(std::int64_t row) const;
  void ToggleInsertMode();
  void Backspace(KeyModifiers modifiers);
  void DeleteKey(bool ctrl);
  void TypeHexDigit(int digit);
  void TypeByteInCharField(std::uint8_t byte);
  UndoRecord MakeRecord(UndoKind kind, std::int64_t position, std::int64_t count) const;
  bool ReplaceRange(UndoKind kind, std::int64_t position, std::int64_t count,
                    const ByteSource& bytes);
  bool ReplaceSelectionFrom(const ByteSource& bytes);
  bool ShiftNibble(UndoKind kind, std::int64_t position, bool high_nibble);
  bool RevertRecord(const UndoRecord& record);
  void AfterLengthChange(std::int64_t from);
  void SelectNewBytes(std::int64_t position, std::int64_t count);

  std::unique_ptr<WorkingData> data_;
  ReadCache cache_;
  UndoList undo_;
  std::set<std::int64_t> changed_;
  std::string file_name_ = "---";
  bool modified_ = false;
  bool read_only_ = true;
  bool insert_mode_ = false;
  Caret caret_;
  std::optional<Selection> selection_;
  std::int64_t markers_[kMarkerCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::int64_t top_row_ = 0;
  std::int64_t visible_rows_ = 1;

  int bytes_per_line_ = 16;
  int bytes_per_column_ = 2;
  OffsetDisplayType offset_display_ = OffsetDisplayType::odHex;
  char offset_separator_ = ':';
  CaretStyleType caret_style_ = CaretStyleType::csFull;
  bool auto_caret_mode_ = true;
  TranslationType translation_ = TranslationType::ttAnsi;
  bool mask_white_spaces_ = true;
  char32_t mask_char_ = U'.';
  bool swap_nibbles_ = false;
  bool show_marker_column_ = true;
  bool allow_insert_mode_ = false;
  bool no_size_change_ = false;
  bool create_backup_ = true;
  std::string backup_extension_ = ".bak";
};

}  // namespace quorvel
