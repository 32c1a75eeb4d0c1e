// Tests of the undo list: every kind restores the exact bytes, caret, selection and modified
// flag; the list keeps 100 steps.
#include <gtest/gtest.h>

#include <functional>

#include "hex_test_util.h"
#include "hexedit/hex_document.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::DataOf;
using testing_util::Load;
using testing_util::ScratchDir;
using testing_util::Sequence;

struct UndoCase {
  const char* name;
  const char* description;
  std::function<bool(HexDocument&)> edit;
};

class UndoKindTest : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoKindTest, RestoresBytesCaretSelectionAndModifiedFlag) {
  ScratchDir dir;
  HexDocument doc;
  const Bytes original = Sequence(70000, 0x31);  // large enough to spill removed bytes to a file
  Load(doc, dir, original);
  doc.SetAllowInsertMode(true);
  doc.HandleKey(HexKey::kTab);
  doc.Select(100, 65999);
  doc.HandleKey(HexKey::kDown, {true, false});
  const Caret caret = doc.GetCaret();
  const auto selection = doc.GetSelection();
  ASSERT_TRUE(selection);
  ASSERT_TRUE(GetParam().edit(doc));
  EXPECT_TRUE(doc.Modified());
  EXPECT_NE(DataOf(doc), original);
  EXPECT_EQ(doc.UndoDescription(), GetParam().description);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(DataOf(doc), original);
  EXPECT_EQ(doc.GetCaret(), caret);
  EXPECT_EQ(doc.GetSelection(), selection);
  EXPECT_FALSE(doc.Modified());
  EXPECT_EQ(doc.UndoDescription(), "No Undo");
  EXPECT_FALSE(doc.Undo());
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, UndoKindTest,
    ::testing::Values(UndoCase{"ByteChanged", "Byte changed",
                               [](HexDocument& d) { return d.ReplaceByte(5, 0); }},
                      UndoCase{"BytesRemoved", "Byte(s) removed",
                               [](HexDocument& d) { return d.DeleteSelection(); }},
                      UndoCase{"OneByteRemoved", "Byte(s) removed",
                               [](HexDocument& d) { return d.DeleteByte(69999); }},
                      UndoCase{"InsertBuffer", "Insert buffer",
                               [](HexDocument& d) { return d.InsertBuffer(Bytes(100000, 7), 3); }},
                      UndoCase{"ReplaceSelectionLonger", "Replace selection",
                               [](HexDocument& d) { return d.ReplaceSelection(Bytes(90000, 8)); }},
                      UndoCase{"ReplaceSelectionShorter", "Replace selection",
                               [](HexDocument& d) {
                                 return d.ReplaceSelection(Bytes{1, 2});
                               }},
                      UndoCase{"AppendBuffer", "Append buffer",
                               [](HexDocument& d) { return d.AppendBuffer(Bytes{0xFF}); }},
                      UndoCase{"InsertNibbleHigh", "Insert nibble",
                               [](HexDocument& d) { return d.InsertNibble(17, true); }},
                      UndoCase{"InsertNibbleLow", "Insert nibble",
                               [](HexDocument& d) { return d.InsertNibble(0, false); }},
                      UndoCase{"DeleteNibbleHigh", "Delete nibble",
                               [](HexDocument& d) { return d.DeleteNibble(17, true); }},
                      UndoCase{"DeleteNibbleLowOfLastByte", "Delete nibble",
                               [](HexDocument& d) { return d.DeleteNibble(69999, false); }},
                      UndoCase{"Convert", "Convert",
                               [](HexDocument& d) {
                                 return d.ConvertSelection(TranslationType::ttAnsi,
                                                           TranslationType::ttEBCDIC);
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UndoListTest, KeepsOneHundredStepsAndEndsWithNoUndo) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, Bytes(200, 0));
  for (int i = 0; i < 101; ++i) ASSERT_TRUE(doc.ReplaceByte(i, 1));
  EXPECT_EQ(doc.UndoCount(), 100u);
  int undone = 0;
  while (doc.Undo()) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(doc.UndoDescription(), "No Undo");
  Bytes expected(200, 0);
  expected[0] = 1;  // the oldest step was dropped
  EXPECT_EQ(DataOf(doc), expected);
  EXPECT_TRUE(doc.Modified());  // the first edit's record, which cleared it, is gone
}

TEST(UndoListTest, DescriptionFollowsTheNewestRecord) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3});
  ASSERT_TRUE(doc.AppendBuffer(Bytes{4}));
  ASSERT_TRUE(doc.ReplaceByte(0, 9));
  EXPECT_EQ(doc.UndoDescription(), "Byte changed");
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.UndoDescription(), "Append buffer");
}

TEST(UndoListTest, ByteChangedRestoresTheChangedMark) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3});
  ASSERT_TRUE(doc.ReplaceByte(1, 5));
  ASSERT_TRUE(doc.ReplaceByte(1, 6));
  EXPECT_TRUE(doc.IsChanged(1));
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(doc.IsChanged(1));
  ASSERT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.IsChanged(1));
  ASSERT_TRUE(doc.ReplaceByte(0, 5));
  ASSERT_TRUE(doc.ReplaceByte(2, 5));
  ASSERT_TRUE(doc.InsertBuffer(Bytes{7}, 1));  // a length change clears from its position on
  EXPECT_TRUE(doc.IsChanged(0));
  EXPECT_FALSE(doc.IsChanged(2));
  EXPECT_FALSE(doc.IsChanged(3));
}

TEST(UndoListTest, TypedStepsUndoOneByOne) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {0x11, 0x22});
  doc.SetAllowInsertMode(true);
  doc.HandleKey(HexKey::kInsert);
  doc.HandleKey(HexKey::kEnd);
  doc.HandleKey(HexKey::kRight);
  doc.TypeCharacter(U'3');  // replaces 0x22 by 0x23 and appends a zero byte
  EXPECT_EQ(DataOf(doc), (Bytes{0x11, 0x23, 0x00}));
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(DataOf(doc), (Bytes{0x11, 0x23}));
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(DataOf(doc), (Bytes{0x11, 0x22}));
  EXPECT_EQ(doc.GetCaret(), (Caret{1, CaretField::kHex, 1}));
}

TEST(UndoListTest, LengthChangingUndoIsRefusedWhileTheSizeIsFixed) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2});
  ASSERT_TRUE(doc.AppendBuffer(Bytes{3}));
  ASSERT_TRUE(doc.ReplaceByte(0, 9));
  doc.SetNoSizeChange(true);
  EXPECT_TRUE(doc.Undo());
  EXPECT_FALSE(doc.Undo());
  EXPECT_EQ(DataOf(doc), (Bytes{1, 2, 3}));
  doc.SetNoSizeChange(false);
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(DataOf(doc), (Bytes{1, 2}));
}

}  // namespace
}  // namespace quorvel
