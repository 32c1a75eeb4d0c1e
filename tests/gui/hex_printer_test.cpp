// Printing: the printed line in the three number formats, the first page rendered to an image
// with title, first line and footer where the layout puts them, and a printed PDF's pages.
#include "gui/hex_printer.h"

#include <QPrinter>

#include "gui/hex_window_rig.h"

namespace quorvel::test {
namespace {

using HexPrinterTest = MiniEdTest;

TEST_F(HexPrinterTest, PrintedLinesInTheThreeFormats) {
  Load("0123456789ABCDEFxy\x01");
  EXPECT_EQ(PrintedLine(doc(), 0, PrintNumberFormat::kHex).toStdString(),
            "0x00:30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46  0123456789ABCDEF");
  EXPECT_EQ(PrintedLine(doc(), 1, PrintNumberFormat::kHex).toStdString(),
            "0x10:78 79 01 " + std::string(13 * 3, ' ') + " xy." + std::string(13, ' '));
  doc().SetBytesPerLine(4);
  doc().SetBytesPerColumn(2);
  doc().SetSwapNibbles(true);
  doc().SetOffsetDisplay(OffsetDisplayType::odDec);
  EXPECT_EQ(PrintedLine(doc(), 4, PrintNumberFormat::kHex).toStdString(), "16:8797 10    xy. ");
  EXPECT_EQ(PrintedLine(doc(), 4, PrintNumberFormat::kDecimal).toStdString(),
            "16:120121   1     xy. ");
  EXPECT_EQ(PrintedLine(doc(), 0, PrintNumberFormat::kOctal).toStdString(),
            " 0:00600061 00620063  0123");
}

TEST_F(HexPrinterTest, FirstPageImageShowsTitleFirstLineAndFooter) {
  Load("0123456789ABCDEF0123456789ABCDEF");
  const PrintSource source = form_->MakePrintSource();
  const QImage page = PreviewPage(source, 2100, 2970);
  ASSERT_EQ(page.width(), 1000);
  ASSERT_EQ(page.height(), 1414);
  QImage probe(1, 1, QImage::Format_RGB32);
  const PageLayout layout = LayOutPage(source, probe, 1000, 1414);
  EXPECT_EQ(layout.left, 50);
  EXPECT_EQ(layout.top, 70);
  EXPECT_EQ(layout.pitch,
            std::max<int>(std::lround(layout.text_height * 1.2), layout.text_height + 1));

  // The same texts drawn alone where the layout puts them must give the same pixels.
  QImage expected(page.size(), QImage::Format_RGB32);
  expected.fill(Qt::white);
  {
    QPainter painter(&expected);
    painter.setFont(layout.font);
    painter.setPen(Qt::black);
    const int ascent = QFontMetrics(layout.font, &expected).ascent();
    painter.drawText(50, 70 + ascent, QStringLiteral("QZ THexEditor-Sample:data.bin"));
    painter.drawText(50, 70 + layout.pitch + ascent,
                     QStringLiteral("0x00:30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46  "
                                    "0123456789ABCDEF"));
    painter.drawText(50, 70 + 2 * layout.pitch + ascent,
                     QStringLiteral("0x10:30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46  "
                                    "0123456789ABCDEF"));
    painter.drawText(50, layout.footer_top + ascent, QStringLiteral("Page 1"));
  }
  EXPECT_TRUE(page == expected);
  EXPECT_EQ(layout.footer_top, 1414 - 70 - layout.pitch);
}

TEST_F(HexPrinterTest, TheFontShrinksUntilTheFirstLineFits) {
  Load(std::string(256, 'x'));
  doc().SetBytesPerLine(64);
  QImage probe(1, 1, QImage::Format_RGB32);
  const PrintSource source = form_->MakePrintSource();
  const PageLayout layout = LayOutPage(source, probe, 1000, 1414);
  const QString first = PrintedLine(doc(), 0, PrintNumberFormat::kHex);
  EXPECT_LT(layout.font.pointSize(), 10);
  EXPECT_LE(QFontMetrics(layout.font, &probe).horizontalAdvance(first), 900);
  QFont bigger = layout.font;
  bigger.setPointSize(layout.font.pointSize() + 1);
  EXPECT_GT(QFontMetrics(bigger, &probe).horizontalAdvance(first), 900);
}

TEST_F(HexPrinterTest, PrintingToAFileMakesAPagePerScreenfulOfLines) {
  Load(std::string(16 * 150, 'q'));
  QPrinter printer(QPrinter::ScreenResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const auto pdf = dir_.path() / "out.pdf";
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  const PrintSource source = form_->MakePrintSource();
  const PageLayout layout = LayOutPage(source, printer, printer.width(), printer.height());
  ASSERT_GT(layout.lines_per_page, 0);
  const int pages = (150 + layout.lines_per_page - 1) / layout.lines_per_page;
  ASSERT_TRUE(PrintAll(printer, source));
  const std::string content = dir_.Read("out.pdf");
  int found = 0;
  for (std::size_t at = content.find("/Type /Page\n"); at != std::string::npos;
       at = content.find("/Type /Page\n", at + 1)) {
    ++found;
  }
  EXPECT_GT(pages, 1);
  EXPECT_EQ(found, pages);
}

TEST_F(HexPrinterTest, PreviewWindowScalesThePicture) {
  QImage page(1000, 1414, QImage::Format_RGB32);
  page.fill(Qt::white);
  fmPreview preview(page);
  EXPECT_EQ(preview.windowTitle().toStdString(), "Print preview");
  preview.resize(500, 2000);
  preview.show();
  EXPECT_EQ(preview.Picture()->pixmap().width(), 500) << "to the client width";
  preview.resize(500, 300);
  EXPECT_EQ(preview.Picture()->pixmap().height(), 300) << "to the client height";
}

}  // namespace
}  // namespace quorvel::test
