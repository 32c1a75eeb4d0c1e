// Printing and print preview of the hex editor's data.
#include "gui/hex_printer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPrinter>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {
namespace {

constexpr int kPreviewWidth = 1000;

QString ByteField(std::uint8_t byte, PrintNumberFormat format, bool swap_nibbles) {
  char text[8];
  switch (format) {
    case PrintNumberFormat::kHex: {
      const int first = swap_nibbles ? byte & 0x0F : byte >> 4;
      const int second = swap_nibbles ? byte >> 4 : byte & 0x0F;
      std::snprintf(text, sizeof text, "%X%X", first, second);
      break;
    }
    case PrintNumberFormat::kDecimal:
      std::snprintf(text, sizeof text, "%3d", byte);
      break;
    case PrintNumberFormat::kOctal:
      std::snprintf(text, sizeof text, "%04o", byte);
      break;
  }
  return QString::fromLatin1(text);
}

int FieldWidth(PrintNumberFormat format) {
  switch (format) {
    case PrintNumberFormat::kHex:
      return 2;
    case PrintNumberFormat::kDecimal:
      return 3;
    case PrintNumberFormat::kOctal:
      return 4;
  }
  return 2;
}

// A font given in pixels (as the window description gives it) in points of a 96-dpi screen,
// so that it keeps its size on any device.
QFont InPoints(QFont font) {
  if (font.pointSizeF() <= 0) font.setPointSize(std::max(1, (font.pixelSize() * 72 + 48) / 96));
  return font;
}

QString Title(const PrintSource& source) {
  return QStringLiteral("QZ THexEditor-Sample:") +
         QFileInfo(QString::fromStdString(source.file_name)).fileName();
}

}  // namespace

QString PrintedLine(HexDocument& document, std::int64_t row, PrintNumberFormat format) {
  const int bytes_per_line = document.BytesPerLine();
  const int bytes_per_column = document.BytesPerColumn();
  const std::span<const std::uint8_t> bytes = document.RowBytes(row);
  QString line = QString::fromStdString(document.OffsetTextOfRow(row));
  QString chars;
  for (int i = 0; i < bytes_per_line; ++i) {
    if (i < static_cast<int>(bytes.size())) {
      line += ByteField(bytes[i], format, document.SwapNibbles());
      const char32_t ch = document.DisplayCharOf(bytes[i]);
      chars += QString::fromUcs4(&ch, 1);
    } else {
      line += QString(FieldWidth(format), QLatin1Char(' '));
      chars += QLatin1Char(' ');
    }
    if ((i + 1) % bytes_per_column == 0) line += QLatin1Char(' ');
  }
  return line + QLatin1Char(' ') + chars;
}

PageLayout LayOutPage(const PrintSource& source, QPaintDevice& device, int page_width,
                      int page_height) {
  PageLayout layout;
  layout.left = page_width / 20;
  layout.top = page_height / 20;
  const int bottom_margin = page_height / 20;
  const QString first_line = PrintedLine(*source.document, 0, source.format);
  layout.font = InPoints(source.font);
  while (layout.font.pointSize() > 1 &&
         QFontMetrics(layout.font, &device).horizontalAdvance(first_line) >
             page_width - 2 * layout.left) {
    layout.font.setPointSize(layout.font.pointSize() - 1);
  }
  const QFontMetrics metrics(layout.font, &device);
  layout.text_height = metrics.height();
  layout.pitch = static_cast<int>(std::lround(layout.text_height * 1.2));
  if (layout.pitch == layout.text_height) ++layout.pitch;
  layout.footer_top = page_height - bottom_margin - layout.pitch;
  // Lines below the title while a whole line still fits above the footer.
  layout.lines_per_page =
      std::max(0, (layout.footer_top - (layout.top + layout.pitch)) / layout.pitch);
  return layout;
}

std::int64_t DrawPage(QPainter& painter, const PageLayout& layout, const PrintSource& source,
                      int page_number, std::int64_t first_row) {
  painter.setFont(layout.font);
  painter.setPen(Qt::black);
  const int ascent = QFontMetrics(layout.font, painter.device()).ascent();
  painter.drawText(layout.left, layout.top + ascent, Title(source));
  std::int64_t row = first_row;
  const std::int64_t rows = source.document->Size() > 0 ? source.document->RowCount() : 0;
  for (int line = 0; line < layout.lines_per_page && row < rows; ++line, ++row) {
    const int y = layout.top + (line + 1) * layout.pitch;
    painter.drawText(layout.left, y + ascent, PrintedLine(*source.document, row, source.format));
  }
  painter.drawText(layout.left, layout.footer_top + ascent,
                   QCoreApplication::translate("quorvel::fmPreview", "Page %1").arg(page_number));
  return row;
}

bool PrintAll(QPrinter& printer, const PrintSource& source) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const PageLayout layout = LayOutPage(source, printer, printer.width(), printer.height());
  const std::int64_t rows = source.document->RowCount();
  std::int64_t row = 0;
  int page = 1;
  do {
    if (page > 1) printer.newPage();
    const std::int64_t next = DrawPage(painter, layout, source, page, row);
    if (next == row && layout.lines_per_page == 0) break;  // a page too small for any line
    row = next;
    ++page;
  } while (row < rows && source.document->Size() > 0);
  return painter.end();
}

QImage PreviewPage(const PrintSource& source, int page_width, int page_height) {
  const int height = static_cast<int>(
      std::lround(static_cast<double>(kPreviewWidth) * page_height / std::max(1, page_width)));
  QImage image(kPreviewWidth, std::max(1, height), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const PageLayout layout = LayOutPage(source, image, image.width(), image.height());
  DrawPage(painter, layout, source, 1, 0);
  return image;
}

fmPreview::fmPreview(QImage page, QWidget* parent)
    : QDialog(parent), page_(std::move(page)), picture_(new QLabel(this)) {
  setObjectName(QStringLiteral("fmPreview"));
  setWindowTitle(tr("Print preview"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture_->setMinimumSize(1, 1);
  layout->addWidget(picture_);
  resize(600, 750);
}

void fmPreview::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const QSize client = event->size();
  QImage scaled = page_.scaledToWidth(std::max(1, client.width()), Qt::SmoothTransformation);
  if (scaled.height() > client.height()) {
    scaled = page_.scaledToHeight(std::max(1, client.height()), Qt::SmoothTransformation);
  }
  picture_->setPixmap(QPixmap::fromImage(scaled));
}

}  // namespace quorvel
