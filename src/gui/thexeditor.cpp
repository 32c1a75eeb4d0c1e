// THexEditor: construction, the grid's geometry and the scrolling over 64-bit row numbers.
#include "gui/thexeditor.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "gui/win_colors.h"
#include "hexedit/hex_layout.h"

namespace quorvel {
namespace {

// Scroll bars count in int; beyond this many positions one step covers several rows.
constexpr std::int64_t kMaxScrollSteps = std::int64_t{1} << 30;

constexpr std::uint32_t kWindowColor = 0xFFFFFF;  // the system's window colour
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kMaroon = 0x000080;
constexpr std::uint32_t kNavy = 0x800000;
constexpr std::uint32_t kBlue = 0xFF0000;

}  // namespace

HexEditorColors HexEditorColors::ControlDefaults() {
  return {WinColor(kWindowColor), WinColor(kWhite),   WinColor(kMaroon),
          WinColor(kMaroon),      WinColor(0xA8FFFF), WinColor(kNavy),
          WinColor(kBlack),       WinColor(kBlue),    WinColor(kNavy)};
}

HexEditorColors HexEditorColors::WindowDescription() {
  return {WinColor(kWindowColor), WinColor(kRed),         WinColor(kMaroon),
          WinColor(kRed),         WinColor(kWindowColor), WinColor(kBlack),
          WinColor(kBlack),       WinColor(kBlue),        WinColor(kNavy)};
}

THexEditor::THexEditor(QWidget* parent)
    : QAbstractScrollArea(parent), Colors(HexEditorColors::ControlDefaults()) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font(QStringLiteral("Courier"), 12);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  setFont(font);
  doc_.OnStateChanged = [this] { DocumentChanged(); };
  // Placed in its window, the control becomes the "Untitled" document.
  doc_.New("Untitled");
  Relayout();
}

void THexEditor::SetEditorFont(const QFont& font) {
  setFont(font);
  Relayout();
}

void THexEditor::SetGridLineWidth(int width) {
  grid_line_width_ = std::clamp(width, 0, 1);
  Relayout();
}

bool THexEditor::Open(const QString& path) {
  const bool opened = doc_.Open(path.toStdString());
  top_row_ = 0;
  Relayout();
  return opened;
}

void THexEditor::Relayout() {
  const QFontMetrics metrics(font());
  char_width_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('w')));
  row_height_ = metrics.height() + 2;
  const int bytes_per_line = doc_.BytesPerLine();
  const int columns = GridColumnCount(bytes_per_line);
  column_left_.assign(static_cast<std::size_t>(columns) + 1, 0);
  for (int column = 0; column < columns; ++column) {
    int chars = 1;
    if (column == 0) {
      chars = doc_.OffsetTextLength();
    } else if (column == 1) {
      chars = doc_.ShowMarkerColumn() ? 1 : 0;
    } else if (column < CharGridColumn(0, bytes_per_line) - 1) {
      chars = NibbleColumnWidth(column, doc_.BytesPerColumn());
    }
    column_left_[column + 1] = column_left_[column] + chars * char_width_ + grid_line_width_;
  }
  UpdateScrollBars();
  EnsureCaretVisible();
  viewport()->update();
}

int THexEditor::ColumnWidth(int column) const {
  return column_left_[column + 1] - column_left_[column] - grid_line_width_;
}

std::int64_t THexEditor::VisibleRows() const {
  return std::max<std::int64_t>(1, viewport()->height() / (row_height_ + grid_line_width_));
}

std::int64_t THexEditor::MaxTopRow() const {
  return std::max<std::int64_t>(0, doc_.RowCount() - VisibleRows());
}

std::int64_t THexEditor::RowsPerScrollStep() const {
  return std::max<std::int64_t>(1, (MaxTopRow() + kMaxScrollSteps - 1) / kMaxScrollSteps);
}

void THexEditor::UpdateScrollBars() {
  const std::int64_t step = RowsPerScrollStep();
  QScrollBar* bar = verticalScrollBar();
  const QSignalBlocker block(bar);
  bar->setRange(0, static_cast<int>((MaxTopRow() + step - 1) / step));
  bar->setPageStep(static_cast<int>(std::max<std::int64_t>(1, VisibleRows() / step)));
  bar->setSingleStep(1);
  top_row_ = std::clamp<std::int64_t>(top_row_, 0, MaxTopRow());
  bar->setValue(static_cast<int>(top_row_ / step));
  QScrollBar* hbar = horizontalScrollBar();
  hbar->setRange(0, std::max(0, column_left_.back() - viewport()->width()));
  hbar->setPageStep(viewport()->width());
  hbar->setSingleStep(char_width_);
  doc_.SetView(top_row_, VisibleRows());
}

void THexEditor::ScrollToRow(std::int64_t row) {
  top_row_ = std::clamp<std::int64_t>(row, 0, MaxTopRow());
  UpdateScrollBars();
  viewport()->update();
}

void THexEditor::SyncTopRowFromScrollBar() {
  const std::int64_t value = verticalScrollBar()->value();
  top_row_ = std::min(value * RowsPerScrollStep(), MaxTopRow());
  doc_.SetView(top_row_, VisibleRows());
}

void THexEditor::scrollContentsBy(int, int) {
  SyncTopRowFromScrollBar();
  viewport()->update();
}

void THexEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void THexEditor::EnsureCaretVisible() {
  const std::int64_t row = doc_.RowOf(doc_.CaretPosition());
  if (row < top_row_) {
    top_row_ = row;
  } else if (row >= top_row_ + VisibleRows()) {
    top_row_ = row - VisibleRows() + 1;
  }
  const Caret& caret = doc_.GetCaret();
  const int byte_in_row = static_cast<int>(doc_.CaretPosition() % doc_.BytesPerLine());
  const int column = caret.field == CaretField::kHex
                         ? NibbleGridColumn(byte_in_row, caret.nibble)
                         : CharGridColumn(byte_in_row, doc_.BytesPerLine());
  QScrollBar* hbar = horizontalScrollBar();
  const int left = column_left_[column];
  const int right = column_left_[column + 1];
  if (left < hbar->value()) {
    hbar->setValue(left);
  } else if (right > hbar->value() + viewport()->width()) {
    hbar->setValue(right - viewport()->width());
  }
  UpdateScrollBars();
}

void THexEditor::DocumentChanged() {
  // The offset column widens when the data grows past a power of its base; rows come and go.
  Relayout();
  emit OnStateChanged();
}

QRect THexEditor::CellRect(std::int64_t row, int column) const {
  const int x = column_left_[column] - horizontalScrollBar()->value();
  const auto y = static_cast<int>((row - top_row_) * (row_height_ + grid_line_width_));
  return QRect(x, y, ColumnWidth(column), row_height_);
}

std::optional<HexCell> THexEditor::CellAt(QPoint point) const {
  const int x = point.x() + horizontalScrollBar()->value();
  const auto it = std::upper_bound(column_left_.begin(), column_left_.end(), x);
  if (it == column_left_.begin() || it == column_left_.end()) return std::nullopt;
  const int column = static_cast<int>(it - column_left_.begin()) - 1;
  const int pitch = row_height_ + grid_line_width_;
  const std::int64_t row = top_row_ + (point.y() >= 0 ? point.y() / pitch : -1);
  return HexCell{row, column};
}

std::optional<Caret> THexEditor::CaretOfCell(const HexCell& cell) const {
  const int bytes_per_line = doc_.BytesPerLine();
  const std::int64_t row_start = cell.row * bytes_per_line;
  const int first_char = CharGridColumn(0, bytes_per_line);
  if (cell.column >= 2 && cell.column < first_char - 1) {
    const int index = cell.column - 2;
    return Caret{row_start + index / 2, CaretField::kHex, index % 2};
  }
  if (cell.column >= first_char) {
    return Caret{row_start + (cell.column - first_char), CaretField::kChar, 0};
  }
  return std::nullopt;
}

}  // namespace quorvel
