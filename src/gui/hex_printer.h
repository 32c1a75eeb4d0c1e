// Printing the hex editor's data (the printing component HexToCanvas1): the printed line of a
// row in hexadecimal, decimal or octal, the page layout with title and footer, printing on a
// printer and the "Print preview" window that shows the first page.
#pragma once

#include <QDialog>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QString>
#include <cstdint>

#include "hexedit/hex_document.h"

class QPrinter;

namespace quorvel {

enum class PrintNumberFormat { kHex = 0, kDecimal = 1, kOctal = 2 };

// What the printing component takes from the control.
struct PrintSource {
  HexDocument* document = nullptr;
  QFont font;             // the control's font
  std::string file_name;  // the document's file name, for the title
  PrintNumberFormat format = PrintNumberFormat::kHex;
};

// The printed text of one row: offset and separator, the line's bytes in the number format
// with a blank after every BytesPerColumn bytes, one blank, then the characters.
QString PrintedLine(HexDocument& document, std::int64_t row, PrintNumberFormat format);

// Where things go on a page of the given size (device pixels).
struct PageLayout {
  QFont font;
  int text_height = 0;
  int pitch = 0;  // line distance
  int left = 0;
  int top = 0;
  int footer_top = 0;
  int lines_per_page = 0;  // data lines between title and footer
};

// Margins of a twentieth of the page, the font shrunk one point at a time until the first
// line fits between the side margins, the line pitch from the text height.
PageLayout LayOutPage(const PrintSource& source, QPaintDevice& device, int page_width,
                      int page_height);

// Draws page `page_number` (from 1) starting at first_row; returns the row after the last one
// drawn.
std::int64_t DrawPage(QPainter& painter, const PageLayout& layout, const PrintSource& source,
                      int page_number, std::int64_t first_row);

// Prints every page on the printer; false when the printer could not be started.
bool PrintAll(QPrinter& printer, const PrintSource& source);

// The first page drawn on a white bitmap 1000 pixels wide, as high as the page's proportions
// give.
QImage PreviewPage(const PrintSource& source, int page_width, int page_height);

// The modal window "Print preview": the picture scaled to the client width, or to the client
// height when the page would be taller.
class fmPreview : public QDialog {
  Q_OBJECT
 public:
  explicit fmPreview(QImage page, QWidget* parent = nullptr);
  const QLabel* Picture() const { return picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage page_;
  QLabel* picture_;
};

}  // namespace quorvel
