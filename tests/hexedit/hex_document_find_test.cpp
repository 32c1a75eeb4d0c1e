// Tests of the document's find, text patterns and hex text import and export.
#include <gtest/gtest.h>

#include <fstream>

#include "hex_test_util.h"
#include "hexedit/hex_document.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::DataOf;
using testing_util::Load;
using testing_util::ReadFileBytes;
using testing_util::ScratchDir;

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

TEST(HexDocumentFindTest, FindsFromFirstUpToLast) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, Text("xx abc ABC aBc"));
  const Bytes abc = Text("abc");
  EXPECT_EQ(doc.Find(abc, false, doc.Size() - 1, 0), 3);
  EXPECT_EQ(doc.Find(abc, false, doc.Size() - 1, 4), -1);
  EXPECT_EQ(doc.Find(abc, true, doc.Size() - 1, 4), 7);
  EXPECT_EQ(doc.Find(abc, true, 9, 8), -1);
  EXPECT_EQ(doc.Find(Bytes{}, false, doc.Size() - 1, 0), -1);
}

TEST(HexDocumentFindTest, TextPatternsUseTheTranslation) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {0x00, 0xC1, 0x82, 0xC3, 0x40});  // EBCDIC "AbC "
  doc.SetTranslation(TranslationType::ttEBCDIC);
  const auto pattern = doc.TextPattern(U"abc");
  ASSERT_TRUE(pattern);
  EXPECT_EQ(*pattern, (Bytes{0x81, 0x82, 0x83}));
  EXPECT_EQ(doc.Find(*pattern, false, doc.Size() - 1, 0), -1);
  EXPECT_EQ(doc.Find(*pattern, true, doc.Size() - 1, 0), 1);
  EXPECT_FALSE(doc.TextPattern(U"a\u4E2D"));
}

TEST(HexDocumentFindTest, HexTextExportHonoursSwapNibbles) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {0x0A, 0x5F, 0x12});
  ASSERT_TRUE(doc.SaveAsHexText(dir / "out.txt"));
  EXPECT_EQ(ReadFileBytes(dir / "out.txt"), Text("0A5F12"));
  doc.SetSwapNibbles(true);
  ASSERT_TRUE(doc.SaveAsHexText(dir / "out.txt"));
  EXPECT_EQ(ReadFileBytes(dir / "out.txt"), Text("A0F521"));
  doc.Select(1, 2);
  EXPECT_EQ(doc.SelectionAsHexText(), "5F12");  // the clipboard never swaps
}

TEST(HexDocumentFindTest, HexTextImportReplacesTheWholeDataAsOneUndoStep) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3});
  dir.Write("in.txt", Text("de ad\r\nBE-EF 7"));
  ASSERT_TRUE(doc.LoadFromHexText(dir / "in.txt"));
  EXPECT_EQ(DataOf(doc), (Bytes{0xDE, 0xAD, 0xBE, 0xEF}));
  EXPECT_EQ(doc.UndoDescription(), "Replace selection");
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(DataOf(doc), (Bytes{1, 2, 3}));
  doc.SetSwapNibbles(true);
  doc.New();
  ASSERT_TRUE(doc.LoadFromHexText(dir / "in.txt"));
  EXPECT_EQ(DataOf(doc), (Bytes{0xED, 0xDA, 0xEB, 0xFE}));
  EXPECT_FALSE(doc.LoadFromHexText(dir / "missing.txt"));
}

TEST(HexDocumentFindTest, LargeHexTextRoundTrip) {
  ScratchDir dir;
  HexDocument doc;
  Bytes bytes(400001);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  Load(doc, dir, bytes);
  ASSERT_TRUE(doc.SaveAsHexText(dir / "big.txt"));
  HexDocument other;
  other.New();
  ASSERT_TRUE(other.LoadFromHexText(dir / "big.txt"));
  EXPECT_EQ(DataOf(other), bytes);
}

}  // namespace
}  // namespace quorvel
