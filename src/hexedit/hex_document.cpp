// HexDocument: files, properties, caret and selection, find and hex text.
#include "hexedit/hex_document.h"

#include <algorithm>
#include <limits>

#include "hexedit/byte_search.h"
#include "hexedit/hex_text.h"

namespace quorvel {
namespace {

// a + b, held at the nearest end of the range instead of wrapping (jumps by any amount).
std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max()
               : std::numeric_limits<std::int64_t>::min();
}

// The whole data as hex text, produced piece by piece for a streamed write.
class HexTextSource : public ByteSource {
 public:
  HexTextSource(const WorkingData& data, bool swap_nibbles)
      : data_(data), swap_nibbles_(swap_nibbles) {}
  std::int64_t Size() const override { return 2 * data_.Size(); }
  bool ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const override {
    const std::int64_t first = offset / 2;
    const std::int64_t end = (offset + static_cast<std::int64_t>(bytes.size()) + 1) / 2;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(end - first));
    if (!data_.Read(first, data)) return false;
    const std::string text = BytesToHexText(data, swap_nibbles_);
    std::copy_n(text.begin() + (offset - 2 * first), bytes.size(), bytes.begin());
    return true;
  }

 private:
  const WorkingData& data_;
  bool swap_nibbles_;
};

}  // namespace

HexDocument::HexDocument() : data_(std::make_unique<WorkingData>()) {}

void HexDocument::Notify() {
  if (OnStateChanged) OnStateChanged();
}

void HexDocument::ResetDocument(std::unique_ptr<WorkingData> data) {
  data_ = std::move(data);
  cache_.Invalidate();
  undo_.Clear();
  changed_.clear();
  modified_ = false;
  caret_.position = 0;
  caret_.nibble = 0;
  selection_.reset();
}

bool HexDocument::Open(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  auto data = std::make_unique<WorkingData>();
  if (!data->IsOpen() || !data->LoadFile(path)) return false;
  ResetDocument(std::move(data));
  read_only_ = !FileHandle::CanOpenForWriting(path);
  file_name_ = path.string();
  Notify();
  return true;
}

void HexDocument::New(std::string name) {
  ResetDocument(std::make_unique<WorkingData>());
  read_only_ = true;
  file_name_ = std::move(name);
  Notify();
}

bool HexDocument::Save(const std::filesystem::path& path) {
  std::error_code error;
  const bool over_current =
      path.lexically_normal() == std::filesystem::path(file_name_).lexically_normal();
  if (create_backup_ && modified_ && over_current && std::filesystem::exists(path, error)) {
    std::filesystem::path backup = path;
    backup.replace_extension(backup_extension_);
    if (!CopyWholeFile(path, backup)) return false;
  }
  if (!data_->SaveFile(path)) return false;
  changed_.clear();
  modified_ = false;
  read_only_ = false;
  file_name_ = path.string();
  undo_.Clear();
  Notify();
  return true;
}

void HexDocument::SetReadOnly(bool read_only) {
  read_only_ = read_only;
  Notify();
}

void HexDocument::SetBytesPerLine(int value) {
  if (value < 1 || value > 256) throw HexEditorError("Invalid BytesPerLine argument");
  bytes_per_line_ = value;
}

void HexDocument::SetBytesPerColumn(int value) {
  if (value >= 1) bytes_per_column_ = value;
}

void HexDocument::SetAllowInsertMode(bool value) {
  allow_insert_mode_ = value;
  Notify();
}

void HexDocument::SetNoSizeChange(bool value) {
  no_size_change_ = value;
  Notify();
}

CaretStyleType HexDocument::EffectiveCaretStyle() const {
  if (!auto_caret_mode_) return caret_style_;
  return InsertMode() ? CaretStyleType::csLeftLine : CaretStyleType::csFull;
}

std::vector<std::uint8_t> HexDocument::BufferFromFile(std::int64_t position,
                                                      std::int64_t count) const {
  if (position < 0 || count < 0 || position > Size() - count) {
    throw HexEditorError("Invalid BufferFromFile argument");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  if (!data_->Read(position, bytes)) bytes.clear();
  return bytes;
}

std::span<const std::uint8_t> HexDocument::RowBytes(std::int64_t row) {
  const std::int64_t start = row * bytes_per_line_;
  if (row < 0 || start >= Size()) return {};
  return cache_.Get(*data_, start, std::min<std::int64_t>(bytes_per_line_, Size() - start));
}

std::uint8_t HexDocument::ByteAt(std::int64_t position) {
  const auto bytes = cache_.Get(*data_, position, 1);
  return bytes.empty() ? 0 : bytes[0];
}

char32_t HexDocument::DisplayCharOf(std::uint8_t byte) const {
  return DisplayChar(byte, translation_, mask_white_spaces_, mask_char_);
}

int HexDocument::OffsetTextLength() const {
  return quorvel::OffsetTextLength(offset_display_, (RowCount() - 1) * bytes_per_line_);
}

std::string HexDocument::OffsetTextOfRow(std::int64_t row) const {
  return OffsetText(offset_display_, row * bytes_per_line_, OffsetTextLength(), offset_separator_);
}

void HexDocument::MoveCaret(Caret target, bool extend_selection) {
  target.position = std::clamp<std::int64_t>(target.position, 0, LastPosition());
  if (extend_selection && Size() > 0) {
    const std::int64_t anchor = selection_ ? selection_->anchor : caret_.position;
    selection_ =
        Selection{anchor, std::min(anchor, target.position), std::max(anchor, target.position)};
  } else {
    selection_.reset();
  }
  caret_ = target;
  Notify();
}

void HexDocument::PlaceCaret(Caret caret, bool extend_selection) {
  MoveCaret(caret, extend_selection);
}

void HexDocument::SetSelStart(std::int64_t position) {
  if (position < 0 || position >= Size()) throw HexEditorError("Invalid SelStart");
  caret_.position = position;
  selection_ = Selection{position, position, position};
  Notify();
}

void HexDocument::SetSelEnd(std::int64_t position) {
  if (position < 0 || position >= Size()) throw HexEditorError("Invalid SelEnd");
  Caret target = caret_;
  target.position = position;
  MoveCaret(target, true);
}

void HexDocument::Select(std::int64_t first, std::int64_t last) {
  SetSelStart(first);
  SetSelEnd(last);
}

void HexDocument::SelectAll() {
  if (Size() > 0) Select(0, Size() - 1);
}

void HexDocument::ClearSelection() {
  selection_.reset();
  Notify();
}

bool HexDocument::Seek(std::int64_t value, int origin, bool check) {
  std::int64_t target = value;
  if (origin == 1) target = SaturatingAdd(value, caret_.position);
  if (origin == 2) target = SaturatingAdd(value, Size() - 1);
  if (check && (target < 0 || target >= Size())) return false;
  Caret caret = caret_;
  caret.position = target;
  caret.nibble = 0;
  MoveCaret(caret, false);
  return true;
}

void HexDocument::SetView(std::int64_t top_row, std::int64_t visible_rows) {
  top_row_ = std::max<std::int64_t>(0, top_row);
  visible_rows_ = std::max<std::int64_t>(1, visible_rows);
}

std::int64_t HexDocument::Marker(int index) const {
  if (index < 0 || index >= kMarkerCount) throw HexEditorError("SetMarker : Invalid marker index");
  return markers_[index];
}

void HexDocument::SetMarker(int index, std::int64_t row) {
  if (index < 0 || index >= kMarkerCount) throw HexEditorError("SetMarker : Invalid marker index");
  markers_[index] = row;
  Notify();
}

std::int64_t HexDocument::Find(std::span<const std::uint8_t> pattern, bool ignore_case,
                               std::int64_t last, std::int64_t first) const {
  const FileRangeSource data(data_->File(), 0, Size());
  return FindPattern(data, pattern, first, last,
                     ignore_case ? &LowerCaseTable(translation_) : nullptr);
}

std::optional<std::vector<std::uint8_t>> HexDocument::TextPattern(std::u32string_view text) const {
  return EncodeText(text, translation_);
}

std::string HexDocument::SelectionAsHexText() const {
  if (!selection_) return {};
  return BytesToHexText(BufferFromFile(selection_->first, selection_->Count()), false);
}

bool HexDocument::SaveAsHexText(const std::filesystem::path& path) const {
  return WriteFileAtomically(path, HexTextSource(*data_, swap_nibbles_));
}

bool HexDocument::LoadFromHexText(const std::filesystem::path& path) {
  const FileHandle text_file = FileHandle::OpenForReading(path);
  const std::int64_t text_size = text_file.Size();
  TempFile parsed(".QZHX");
  if (text_size < 0 || !parsed.IsOpen()) return false;
  HexTextParser parser(swap_nibbles_);
  std::vector<std::uint8_t> text(static_cast<std::size_t>(kCopyChunk));
  std::vector<std::uint8_t> bytes;
  std::int64_t parsed_size = 0;
  for (std::int64_t done = 0; done < text_size;) {
    const std::int64_t n = std::min(text_size - done, kCopyChunk);
    const std::span<std::uint8_t> piece(text.data(), static_cast<std::size_t>(n));
    if (!text_file.ReadAt(done, piece)) return false;
    bytes.clear();
    parser.Feed(std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()), bytes);
    if (!parsed.File().WriteAt(parsed_size, bytes)) return false;
    parsed_size += static_cast<std::int64_t>(bytes.size());
    done += n;
  }
  const FileRangeSource source(parsed.File(), 0, parsed_size);
  if (Size() == 0) return ReplaceRange(UndoKind::kAppendBuffer, 0, 0, source);
  SelectAll();
  return ReplaceSelectionFrom(source);
}

}  // namespace quorvel
