// THexEditor: the hex editor control. A scroll area that draws only the visible rows of its
// HexDocument (read through the document's cache) and maps keys and the mouse onto it.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <cstdint>
#include <optional>
#include <vector>

#include "hexedit/hex_document.h"

namespace quorvel {

// The control's colours.
struct HexEditorColors {
  QColor Background;
  QColor PositionText;
  QColor PositionBackground;
  QColor ChangedText;
  QColor ChangedBackground;
  QColor CursorFrame;
  QColor Offset;
  QColor OddColumn;
  QColor EvenColumn;

  // The defaults of the control, and those of the mini hex editor's window description.
  static HexEditorColors ControlDefaults();
  static HexEditorColors WindowDescription();
};

// One cell of the grid in viewport pixels.
struct HexCell {
  std::int64_t row = 0;
  int column = 0;  // grid column (see hex_layout.h)
};

class THexEditor : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit THexEditor(QWidget* parent = nullptr);

  HexDocument& Document() { return doc_; }
  const HexDocument& Document() const { return doc_; }

  // Call after changing a document property that moves columns or rows (bytes per line,
  // offset display, marker column ...): recomputes the grid and repaints.
  void Relayout();

  HexEditorColors Colors;
  bool FocusFrame = true;
  int GridLineWidth() const { return grid_line_width_; }
  void SetGridLineWidth(int width);
  void SetEditorFont(const QFont& font);

  // Opens a file into the document (false when it is missing or cannot be copied).
  bool Open(const QString& path);

  // ---- Geometry, for drawing, the mouse and tests ---------------------------------------
  int CharWidth() const { return char_width_; }
  int RowHeight() const { return row_height_; }
  std::int64_t TopRow() const { return top_row_; }
  // Whole rows that fit in the viewport (at least 1).
  std::int64_t VisibleRows() const;
  // Scrolls so that row is the first one shown (clamped).
  void ScrollToRow(std::int64_t row);
  // Left edge and width of a grid column in content pixels (before horizontal scrolling).
  int ColumnLeft(int column) const { return column_left_[column]; }
  int ColumnWidth(int column) const;
  // The cell under a viewport point, or nullopt outside the grid.
  std::optional<HexCell> CellAt(QPoint point) const;
  // Viewport rectangle of a cell (may lie outside the viewport).
  QRect CellRect(std::int64_t row, int column) const;
  // The caret a cell stands for (nullopt for the offset, marker and separator columns).
  std::optional<Caret> CaretOfCell(const HexCell& cell) const;
  // The text a cell shows (empty past the data and for blank cells).
  QString CellText(std::int64_t row, int column);

 signals:
  // Raised after every change of caret, selection, mode, modified or read-only state.
  void OnStateChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  // thexeditor.cpp
  void DocumentChanged();
  void UpdateScrollBars();
  void EnsureCaretVisible();
  void SyncTopRowFromScrollBar();
  std::int64_t MaxTopRow() const;
  std::int64_t RowsPerScrollStep() const;

  // thexeditor_draw.cpp
  void DrawRow(QPainter& painter, std::int64_t row, int y);
  void DrawOffsetAndMarker(QPainter& painter, std::int64_t row, int y);
  void DrawHexCell(QPainter& painter, std::int64_t position, int byte_in_row, int nibble,
                   std::uint8_t byte, const QRect& rect);
  void DrawCharCell(QPainter& painter, std::int64_t position, std::uint8_t byte, const QRect& rect);
  void DrawCaret(QPainter& painter);
  void DrawTwinFrame(QPainter& painter);
  void DrawGridLines(QPainter& painter, int rows);
  bool IsSelected(std::int64_t position) const;

  // thexeditor_input.cpp
  bool HandleNavigationKey(QKeyEvent* event);
  bool HandleMarkerKey(QKeyEvent* event);
  void TypeText(const QString& text);
  void DragTo(QPoint point);

  HexDocument doc_;
  std::vector<int> column_left_;  // GridColumnCount + 1 entries
  int char_width_ = 8;
  int row_height_ = 16;
  int grid_line_width_ = 0;
  std::int64_t top_row_ = 0;
  bool mouse_selecting_ = false;
  // Alt held with numeric-pad digits: the character code being composed.
  std::optional<int> alt_code_;
};

}  // namespace quorvel
