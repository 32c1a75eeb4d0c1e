// Tests of the caret, selection, markers and the key and typing rules of the document.
#include <gtest/gtest.h>

#include "hex_test_util.h"
#include "hexedit/hex_document.h"
#include "hexedit/hex_text.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::DataOf;
using testing_util::Load;
using testing_util::ScratchDir;
using testing_util::Sequence;

constexpr KeyModifiers kShift{true, false};
constexpr KeyModifiers kCtrl{false, true};
constexpr KeyModifiers kCtrlShift{true, true};

class HexKeysTest : public ::testing::Test {
 protected:
  void LoadBytes(const Bytes& bytes) { Load(doc_, dir_, bytes); }
  void Type(std::u32string_view text) {
    for (const char32_t ch : text) doc_.TypeCharacter(ch);
  }
  void Key(HexKey key, KeyModifiers modifiers = {}) { doc_.HandleKey(key, modifiers); }
  void InsertMode() {
    doc_.SetAllowInsertMode(true);
    Key(HexKey::kInsert);
    ASSERT_TRUE(doc_.InsertMode());
  }
  Caret At(std::int64_t position, int nibble = 0, CaretField field = CaretField::kHex) {
    return Caret{position, field, nibble};
  }

  ScratchDir dir_;
  HexDocument doc_;
};

TEST_F(HexKeysTest, LeftAndRightWalkNibblesInHexAndBytesInCharacters) {
  LoadBytes({1, 2, 3});
  Key(HexKey::kRight);
  EXPECT_EQ(doc_.GetCaret(), At(0, 1));
  Key(HexKey::kRight);
  EXPECT_EQ(doc_.GetCaret(), At(1, 0));
  Key(HexKey::kLeft);
  EXPECT_EQ(doc_.GetCaret(), At(0, 1));
  for (int i = 0; i < 10; ++i) Key(HexKey::kRight);
  EXPECT_EQ(doc_.GetCaret(), At(2, 1));  // never past the last byte
  for (int i = 0; i < 10; ++i) Key(HexKey::kLeft);
  EXPECT_EQ(doc_.GetCaret(), At(0, 0));
  Key(HexKey::kTab);
  EXPECT_EQ(doc_.GetCaret(), At(0, 0, CaretField::kChar));
  Key(HexKey::kRight);
  EXPECT_EQ(doc_.GetCaret(), At(1, 0, CaretField::kChar));
  Key(HexKey::kTab);
  EXPECT_EQ(doc_.GetCaret(), At(1, 0, CaretField::kHex));
}

TEST_F(HexKeysTest, VerticalAndRowKeys) {
  LoadBytes(Sequence(100));  // rows of 16: the last row holds 96 ... 99
  doc_.Seek(20, 0, true);
  Key(HexKey::kUp);
  EXPECT_EQ(doc_.CaretPosition(), 4);
  Key(HexKey::kUp);
  EXPECT_EQ(doc_.CaretPosition(), 4);
  doc_.Seek(90, 0, true);
  Key(HexKey::kDown);
  EXPECT_EQ(doc_.CaretPosition(), 99);  // column 10 of the short last row is clamped
  Key(HexKey::kHome);
  EXPECT_EQ(doc_.CaretPosition(), 96);
  doc_.Seek(40, 0, true);
  Key(HexKey::kEnd);
  EXPECT_EQ(doc_.CaretPosition(), 47);
  Key(HexKey::kHome, kCtrl);
  EXPECT_EQ(doc_.CaretPosition(), 0);
  Key(HexKey::kEnd, kCtrl);
  EXPECT_EQ(doc_.CaretPosition(), 99);
  doc_.Seek(33, 0, true);
  Key(HexKey::kRight, kCtrl);
  EXPECT_EQ(doc_.GetCaret(), At(47, 1));
  doc_.SetView(1, 3);  // rows 1 to 3 visible
  doc_.Seek(35, 0, true);
  Key(HexKey::kPageDown);
  EXPECT_EQ(doc_.CaretPosition(), 83);
  Key(HexKey::kPageDown);
  EXPECT_EQ(doc_.CaretPosition(), 99);
  Key(HexKey::kPageUp);
  EXPECT_EQ(doc_.CaretPosition(), 51);
  Key(HexKey::kPageUp);
  EXPECT_EQ(doc_.CaretPosition(), 3);
  Key(HexKey::kPageDown, kCtrl);
  EXPECT_EQ(doc_.CaretPosition(), 51);
  Key(HexKey::kPageUp, kCtrl);
  EXPECT_EQ(doc_.CaretPosition(), 19);
}

TEST_F(HexKeysTest, ShiftExtendsFromTheAnchorAndAPlainMoveClears) {
  LoadBytes(Sequence(40));
  doc_.Seek(20, 0, true);
  Key(HexKey::kRight, kShift);
  ASSERT_TRUE(doc_.GetSelection());
  EXPECT_EQ(*doc_.GetSelection(), (Selection{20, 20, 20}));  // never empty
  Key(HexKey::kDown, kShift);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{20, 20, 36}));
  Key(HexKey::kUp, kShift);
  Key(HexKey::kUp, kShift);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{20, 4, 20}));
  EXPECT_EQ(doc_.SelCount(), 17);
  Key(HexKey::kRight);
  EXPECT_FALSE(doc_.GetSelection());
  doc_.Select(5, 8);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{5, 5, 8}));
  EXPECT_EQ(doc_.CaretPosition(), 8);
}

TEST_F(HexKeysTest, SeekOrigins) {
  LoadBytes(Sequence(100));
  EXPECT_TRUE(doc_.Seek(31, 0, true));
  EXPECT_EQ(doc_.CaretPosition(), 31);
  EXPECT_TRUE(doc_.Seek(-1, 1, true));
  EXPECT_EQ(doc_.CaretPosition(), 30);
  EXPECT_TRUE(doc_.Seek(-9, 2, true));
  EXPECT_EQ(doc_.CaretPosition(), 90);
  EXPECT_FALSE(doc_.Seek(100, 0, true));
  EXPECT_FALSE(doc_.Seek(-1, 0, true));
  EXPECT_EQ(doc_.CaretPosition(), 90);
  EXPECT_TRUE(doc_.Seek(4000, 1, false));  // a jump of 4000 lands on the last byte
  EXPECT_EQ(doc_.CaretPosition(), 99);
  EXPECT_TRUE(doc_.Seek(-4000, 1, false));
  EXPECT_EQ(doc_.CaretPosition(), 0);
}

TEST_F(HexKeysTest, MarkersByCtrlShiftDigitAndCtrlDigit) {
  LoadBytes(Sequence(100));
  doc_.Seek(37, 0, true);
  Key(HexKey::kTab);
  doc_.MarkerKey(3, true);
  EXPECT_EQ(doc_.Marker(3), 2);
  doc_.Seek(90, 0, true);
  doc_.MarkerKey(3, false);
  EXPECT_EQ(doc_.GetCaret(), At(32, 0));
  doc_.Seek(70, 0, true);
  doc_.MarkerKey(4, false);  // unset: the first nibble of the caret's row
  EXPECT_EQ(doc_.Marker(4), -1);
  EXPECT_EQ(doc_.GetCaret(), At(64, 0));
}

TEST_F(HexKeysTest, TypingTwoDigitsOverwritesAByteAndSwapNibblesExchangesThem) {
  LoadBytes({0x00, 0x11});
  Type(U"A5");
  EXPECT_EQ(DataOf(doc_), (Bytes{0xA5, 0x11}));
  EXPECT_EQ(doc_.GetCaret(), At(1, 0));
  EXPECT_TRUE(doc_.IsChanged(0));
  EXPECT_FALSE(doc_.IsChanged(1));
  doc_.SetSwapNibbles(true);
  EXPECT_EQ(BytesToHexText(doc_.BufferFromFile(0, 1), doc_.SwapNibbles()), "5A");
  doc_.Seek(0, 0, true);
  Type(U"A5");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x5A, 0x11}));
  Type(U"g-");  // not hexadecimal digits: nothing happens
  EXPECT_EQ(DataOf(doc_), (Bytes{0x5A, 0x11}));
  EXPECT_EQ(doc_.GetCaret(), At(1, 0));
}

TEST_F(HexKeysTest, OneDigitOnTheSecondNibbleKeepsTheHighNibble) {
  LoadBytes({0x12});
  Key(HexKey::kRight);
  Type(U"f");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x1F}));
  EXPECT_EQ(doc_.GetCaret(), At(0, 1));  // the last nibble: the caret stays
}

TEST_F(HexKeysTest, InsertModeDigitsInsertBytesAndAppendAtTheEnd) {
  LoadBytes({0x11, 0x22});
  InsertMode();
  Type(U"3");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x30, 0x11, 0x22}));
  EXPECT_EQ(doc_.GetCaret(), At(0, 1));
  EXPECT_FALSE(doc_.GetSelection());
  Type(U"4");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x34, 0x11, 0x22}));
  EXPECT_EQ(doc_.GetCaret(), At(1, 0));
  EXPECT_EQ(doc_.ChangedCount(), 0u);  // insert mode marks nothing
  // The second nibble of the last byte appends a new zero byte.
  doc_.Seek(0, 2, true);
  Key(HexKey::kRight);
  Type(U"9");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x34, 0x11, 0x29, 0x00}));
  EXPECT_EQ(doc_.GetCaret(), At(3, 0));
  Type(U"ab");  // typing goes on at the end
  EXPECT_EQ(DataOf(doc_), (Bytes{0x34, 0x11, 0x29, 0xAB, 0x00}));
  EXPECT_EQ(doc_.GetCaret(), At(4, 0));
}

TEST_F(HexKeysTest, InsertModeDigitWithASelectionReplacesIt) {
  LoadBytes({1, 2, 3, 4});
  InsertMode();
  doc_.Select(1, 2);
  Type(U"7");
  EXPECT_EQ(DataOf(doc_), (Bytes{1, 0x70, 4}));
  EXPECT_EQ(doc_.GetCaret(), At(1, 1));
}

TEST_F(HexKeysTest, TypingIntoAnEmptyDocument) {
  doc_.New();
  Type(U"5");  // overwrite mode: there is no byte to overwrite
  EXPECT_EQ(doc_.Size(), 0);
  InsertMode();
  Type(U"5");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x50}));
  EXPECT_EQ(doc_.UndoDescription(), "Append buffer");
  Type(U"6");
  EXPECT_EQ(DataOf(doc_), (Bytes{0x56, 0x00}));
}

TEST_F(HexKeysTest, CharacterFieldTyping) {
  LoadBytes({0, 0, 0});
  Key(HexKey::kTab);
  Type(U"Hi");
  EXPECT_EQ(DataOf(doc_), (Bytes{'H', 'i', 0}));
  EXPECT_EQ(doc_.CaretPosition(), 2);
  doc_.TypeCharacter(U'\x07');  // control character: ignored
  EXPECT_EQ(DataOf(doc_), (Bytes{'H', 'i', 0}));
  doc_.TypeCharacter(U'\x07', true);  // with Alt: entered
  EXPECT_EQ(DataOf(doc_), (Bytes{'H', 'i', 7}));
  doc_.SetTranslation(TranslationType::ttEBCDIC);
  doc_.Seek(0, 0, true);
  Type(U"A");
  EXPECT_EQ(DataOf(doc_)[0], 0xC1);
  InsertMode();
  doc_.SetTranslation(TranslationType::ttAnsi);
  Type(U"z");
  EXPECT_EQ(DataOf(doc_), (Bytes{0xC1, 'z', 'i', 7}));
  EXPECT_EQ(doc_.GetCaret(), At(2, 0, CaretField::kChar));
  doc_.Select(0, 1);
  Type(U"q");
  EXPECT_EQ(DataOf(doc_), (Bytes{'q', 'i', 7}));
}

TEST_F(HexKeysTest, CharacterFieldShowsTheTranslatedAndMaskedCharacters) {
  LoadBytes({0x41, 0x05, 0x80});
  EXPECT_EQ(doc_.DisplayCharOf(0x41), U'A');
  EXPECT_EQ(doc_.DisplayCharOf(0x05), U'.');
  doc_.SetMaskChar(U'~');
  EXPECT_EQ(doc_.DisplayCharOf(0x05), U'~');
  doc_.SetMaskWhiteSpaces(false);
  EXPECT_EQ(doc_.DisplayCharOf(0x05), U'\x05');
  doc_.SetTranslation(TranslationType::ttMac);
  EXPECT_EQ(doc_.DisplayCharOf(0x80), U'Ä');
}

TEST_F(HexKeysTest, InsertKeyClearsTheChangedBytes) {
  LoadBytes({1, 2});
  Type(U"ff");
  EXPECT_EQ(doc_.ChangedCount(), 1u);
  doc_.SetAllowInsertMode(true);
  Key(HexKey::kInsert);
  EXPECT_EQ(doc_.ChangedCount(), 0u);
  Key(HexKey::kInsert);
  EXPECT_FALSE(doc_.InsertMode());
}

TEST_F(HexKeysTest, BackspaceAndDeleteInBothModes) {
  LoadBytes({1, 2, 3, 4, 5});
  doc_.Seek(2, 0, true);
  Key(HexKey::kBackspace);  // overwrite: acts as Left
  EXPECT_EQ(doc_.GetCaret(), At(1, 1));
  Key(HexKey::kDelete);  // overwrite without Ctrl: nothing
  EXPECT_EQ(doc_.Size(), 5);
  doc_.Select(3, 4);
  Key(HexKey::kDelete, kCtrl);  // Ctrl deletes the selection even in overwrite mode
  EXPECT_EQ(DataOf(doc_), (Bytes{1, 2, 3}));
  EXPECT_EQ(doc_.UndoDescription(), "Byte(s) removed");
  InsertMode();
  doc_.Seek(2, 0, true);
  Key(HexKey::kBackspace);
  EXPECT_EQ(DataOf(doc_), (Bytes{1, 3}));
  EXPECT_EQ(doc_.CaretPosition(), 1);
  Key(HexKey::kDelete);
  EXPECT_EQ(DataOf(doc_), (Bytes{1}));
  EXPECT_EQ(doc_.CaretPosition(), 0);
  Key(HexKey::kBackspace);  // nothing before the first byte
  EXPECT_EQ(DataOf(doc_), (Bytes{1}));
  ASSERT_TRUE(doc_.AppendBuffer(Bytes{2, 3}));
  Key(HexKey::kBackspace);  // with a selection: the selection goes
  EXPECT_EQ(DataOf(doc_), (Bytes{1}));
  Key(HexKey::kDelete);
  Key(HexKey::kDelete);
  EXPECT_EQ(doc_.Size(), 0);
}

TEST_F(HexKeysTest, NoSizeChangeRefusesLengthChangesAndCutsReplacements) {
  LoadBytes({1, 2, 3, 4, 5, 6});
  doc_.SetNoSizeChange(true);
  doc_.Select(1, 3);
  EXPECT_TRUE(doc_.Paste(Bytes{9, 9, 9, 9, 9}));
  EXPECT_EQ(DataOf(doc_), (Bytes{1, 9, 9, 9, 5, 6}));
  doc_.Select(0, 3);
  EXPECT_TRUE(doc_.ReplaceSelection(Bytes{7, 7}));  // the selection is shortened
  EXPECT_EQ(DataOf(doc_), (Bytes{7, 7, 9, 9, 5, 6}));
  EXPECT_FALSE(doc_.InsertBuffer(Bytes{1}, 0));
  EXPECT_FALSE(doc_.AppendBuffer(Bytes{1}));
  EXPECT_FALSE(doc_.DeleteSelection());
  EXPECT_FALSE(doc_.DeleteByte(0));
  EXPECT_FALSE(doc_.InsertNibble(0, true));
  EXPECT_FALSE(doc_.DeleteNibble(0, true));
  doc_.Select(0, 1);
  Key(HexKey::kDelete, kCtrl);
  EXPECT_EQ(doc_.Size(), 6);
}

TEST_F(HexKeysTest, EditsSelectTheNewBytes) {
  LoadBytes({1, 2, 3});
  ASSERT_TRUE(doc_.InsertBuffer(Bytes{8, 9}, 1));
  EXPECT_EQ(*doc_.GetSelection(), (Selection{1, 1, 2}));
  ASSERT_TRUE(doc_.AppendBuffer(Bytes{0xFF}));
  EXPECT_EQ(*doc_.GetSelection(), (Selection{5, 5, 5}));
  EXPECT_EQ(doc_.CaretPosition(), 5);
  doc_.ClearSelection();
  ASSERT_TRUE(doc_.Paste(Bytes{4}));  // no selection: inserted at the caret
  EXPECT_EQ(DataOf(doc_), (Bytes{1, 8, 9, 2, 3, 4, 0xFF}));
  EXPECT_EQ(doc_.SelectionAsHexText(), "04");
}

}  // namespace
}  // namespace quorvel
