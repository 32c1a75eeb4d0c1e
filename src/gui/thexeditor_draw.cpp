// THexEditor: painting the visible rows: offset, marker, nibble and character cells with their
// colours, the caret in its style, the frame around the caret's twin cell and grid lines.
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include "gui/thexeditor.h"
#include "hexedit/hex_layout.h"

namespace quorvel {
namespace {

struct CellColors {
  QColor text;
  QColor back;
};

QColor Complement(const QColor& color) {
  return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
}

// The digit shown in a nibble column: the high nibble first, the low one first when swapped.
QChar NibbleChar(std::uint8_t byte, int displayed_nibble, bool swap_nibbles) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const bool high = (displayed_nibble == 0) != swap_nibbles;
  return QLatin1Char(kHexDigits[high ? byte >> 4 : byte & 0x0F]);
}

}  // namespace

QString THexEditor::CellText(std::int64_t row, int column) {
  if (column == 0) return QString::fromStdString(doc_.OffsetTextOfRow(row));
  if (column == 1) {
    for (int k = 0; k < HexDocument::kMarkerCount; ++k) {
      if (doc_.ShowMarkerColumn() && doc_.Marker(k) == row) return QString::number(k);
    }
    return {};
  }
  const auto caret = CaretOfCell(HexCell{row, column});
  if (!caret || caret->position >= doc_.Size() || doc_.RowOf(caret->position) != row) return {};
  const std::uint8_t byte = doc_.BufferFromFile(caret->position, 1)[0];
  if (caret->field == CaretField::kHex) {
    return NibbleChar(byte, caret->nibble, doc_.SwapNibbles());
  }
  const char32_t ch = doc_.DisplayCharOf(byte);
  return QString::fromUcs4(&ch, 1);
}

bool THexEditor::IsSelected(std::int64_t position) const {
  const auto& selection = doc_.GetSelection();
  return selection && position >= selection->first && position <= selection->last;
}

void THexEditor::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Colors.Background);
  painter.setFont(font());
  const int pitch = row_height_ + grid_line_width_;
  const std::int64_t rows_shown =
      std::min<std::int64_t>(viewport()->height() / pitch + 1, doc_.RowCount() - top_row_);
  for (std::int64_t r = 0; r < rows_shown; ++r) {
    DrawRow(painter, top_row_ + r, static_cast<int>(r * pitch));
  }
  DrawGridLines(painter, static_cast<int>(rows_shown));
  DrawTwinFrame(painter);
  DrawCaret(painter);
}

void THexEditor::DrawRow(QPainter& painter, std::int64_t row, int y) {
  DrawOffsetAndMarker(painter, row, y);
  const int bytes_per_line = doc_.BytesPerLine();
  const std::span<const std::uint8_t> bytes = doc_.RowBytes(row);
  for (int i = 0; i < static_cast<int>(bytes.size()); ++i) {
    const std::int64_t position = row * bytes_per_line + i;
    for (int nibble = 0; nibble < 2; ++nibble) {
      const int column = NibbleGridColumn(i, nibble);
      DrawHexCell(painter, position, i, nibble, bytes[i],
                  QRect(CellRect(row, column).left(), y, ColumnWidth(column), row_height_));
    }
    const int column = CharGridColumn(i, bytes_per_line);
    DrawCharCell(painter, position, bytes[i],
                 QRect(CellRect(row, column).left(), y, ColumnWidth(column), row_height_));
  }
}

void THexEditor::DrawOffsetAndMarker(QPainter& painter, std::int64_t row, int y) {
  const QRect offset_rect(CellRect(row, 0).left(), y, ColumnWidth(0), row_height_);
  painter.setPen(Colors.Offset);
  painter.drawText(offset_rect, Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(doc_.OffsetTextOfRow(row)));
  if (!doc_.ShowMarkerColumn()) return;
  for (int k = 0; k < HexDocument::kMarkerCount; ++k) {
    if (doc_.Marker(k) != row) continue;
    const QRect marker_rect(CellRect(row, 1).left(), y, ColumnWidth(1), row_height_);
    painter.fillRect(marker_rect, Colors.PositionBackground);
    QFont small(QStringLiteral("Arial"));
    if (font().pointSizeF() > 0) {
      small.setPointSizeF(font().pointSizeF() * 0.75);
    } else {
      small.setPixelSize(std::max(1, font().pixelSize() * 3 / 4));
    }
    painter.setFont(small);
    painter.setPen(Colors.PositionText);
    painter.drawText(marker_rect, Qt::AlignCenter, QString::number(k));
    painter.setFont(font());
    break;
  }
}

void THexEditor::DrawHexCell(QPainter& painter, std::int64_t position, int byte_in_row, int nibble,
                             std::uint8_t byte, const QRect& rect) {
  const QColor group =
      (byte_in_row / doc_.BytesPerColumn()) % 2 == 0 ? Colors.EvenColumn : Colors.OddColumn;
  const bool changed = doc_.IsChanged(position);
  CellColors colors = changed ? CellColors{Colors.ChangedText, Colors.ChangedBackground}
                              : CellColors{group, Colors.Background};
  if (IsSelected(position)) {
    colors = {colors.back, colors.text};
    if (!changed) colors.text = Complement(group);
  }
  painter.fillRect(rect, colors.back);
  painter.setPen(colors.text);
  painter.drawText(QRect(rect.left(), rect.top(), char_width_, rect.height()), Qt::AlignCenter,
                   QString(NibbleChar(byte, nibble, doc_.SwapNibbles())));
}

void THexEditor::DrawCharCell(QPainter& painter, std::int64_t position, std::uint8_t byte,
                              const QRect& rect) {
  const bool changed = doc_.IsChanged(position);
  const QColor font_color = palette().color(QPalette::WindowText);
  CellColors colors = changed ? CellColors{Colors.ChangedText, Colors.ChangedBackground}
                              : CellColors{font_color, Colors.Background};
  if (IsSelected(position)) colors = {colors.back, colors.text};
  const char32_t ch = doc_.DisplayCharOf(byte);
  painter.fillRect(rect, colors.back);
  painter.setPen(colors.text);
  painter.drawText(rect, Qt::AlignCenter, QString::fromUcs4(&ch, 1));
}

void THexEditor::DrawCaret(QPainter& painter) {
  const Caret& caret = doc_.GetCaret();
  const std::int64_t row = doc_.RowOf(caret.position);
  const int byte_in_row = static_cast<int>(caret.position % doc_.BytesPerLine());
  const int column = caret.field == CaretField::kHex
                         ? NibbleGridColumn(byte_in_row, caret.nibble)
                         : CharGridColumn(byte_in_row, doc_.BytesPerLine());
  QRect rect = CellRect(row, column);
  rect.setWidth(char_width_);
  switch (doc_.EffectiveCaretStyle()) {
    case CaretStyleType::csFull:
      break;
    case CaretStyleType::csLeftLine:
      rect.setWidth(2);
      break;
    case CaretStyleType::csBottomLine:
      rect.setTop(rect.bottom() - 1);
      break;
  }
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  painter.fillRect(rect, Qt::black);
  painter.restore();
}

void THexEditor::DrawTwinFrame(QPainter& painter) {
  const Caret& caret = doc_.GetCaret();
  const std::int64_t row = doc_.RowOf(caret.position);
  const int byte_in_row = static_cast<int>(caret.position % doc_.BytesPerLine());
  QRect rect;
  if (caret.field == CaretField::kHex) {
    rect = CellRect(row, CharGridColumn(byte_in_row, doc_.BytesPerLine()));
  } else {
    rect = CellRect(row, NibbleGridColumn(byte_in_row, 0));
    rect.setWidth(2 * char_width_);
  }
  if (FocusFrame) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect;
    option.backgroundColor = Colors.Background;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  } else {
    painter.setPen(Colors.CursorFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
  }
}

void THexEditor::DrawGridLines(QPainter& painter, int rows) {
  if (grid_line_width_ == 0) return;
  painter.setPen(palette().color(QPalette::Mid));
  const int x_shift = horizontalScrollBar()->value();
  const int bottom = rows * (row_height_ + grid_line_width_);
  for (std::size_t c = 1; c < column_left_.size(); ++c) {
    const int x = column_left_[c] - 1 - x_shift;
    painter.drawLine(x, 0, x, bottom);
  }
  const int right = column_left_.back() - x_shift;
  for (int r = 1; r <= rows; ++r) {
    const int y = r * (row_height_ + grid_line_width_) - 1;
    painter.drawLine(-x_shift, y, right, y);
  }
}

}  // namespace quorvel
