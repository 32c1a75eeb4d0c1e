// Tests of the hex editor window's find rules, go-to numbers and status texts.
#include "hexedit/find_session.h"

#include <gtest/gtest.h>

#include "hex_test_util.h"
#include "hexedit/editor_texts.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::Load;
using testing_util::ScratchDir;
using Result = FindSession::Result;

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

class FindSessionTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
  HexDocument doc_;
  FindSession session_;
};

TEST_F(FindSessionTest, UpperCaseTIgnoresCaseLowerCaseTDoesNot) {
  Load(doc_, dir_, Text("xx ABC yy abc"));
  EXPECT_EQ(session_.Find(doc_, U"T abc"), Result::kFound);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{2, 2, 5}));
  doc_.Seek(0, 0, true);
  EXPECT_EQ(session_.Find(doc_, U"t abc"), Result::kFound);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{9, 9, 12}));
  doc_.Seek(10, 0, true);
  EXPECT_EQ(session_.Find(doc_, U"t abc"), Result::kNotFound);
  EXPECT_EQ(doc_.CaretPosition(), 10);  // nothing moves
  EXPECT_EQ(session_.LastText(), U"t abc");
}

TEST_F(FindSessionTest, HexTextsArePaddedToWholeBytes) {
  const auto request = ParseFindText(U"a 5 f", doc_);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->pattern, (Bytes{0x0A, 0x5F}));
  EXPECT_FALSE(request->ignore_case);
  EXPECT_EQ(ParseFindText(U"0x12", doc_)->pattern, (Bytes{0x00, 0x12}));  // x is no digit
  EXPECT_FALSE(ParseFindText(U"zz", doc_));
  EXPECT_FALSE(ParseFindText(U"", doc_));
  EXPECT_FALSE(ParseFindText(U"t", doc_));
  Load(doc_, dir_, {1, 0x0A, 0x5F, 2});
  EXPECT_EQ(session_.Find(doc_, U"a 5 f"), Result::kFound);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{1, 1, 2}));
  EXPECT_EQ(session_.Find(doc_, U"--"), Result::kNoPattern);
  EXPECT_EQ(session_.Find(doc_, U""), Result::kNoPattern);
}

TEST_F(FindSessionTest, TextPatternsFollowTheTranslation) {
  Load(doc_, dir_, {0x00, 0xC1, 0x82, 0x00});
  doc_.SetTranslation(TranslationType::ttEBCDIC);
  EXPECT_EQ(session_.Find(doc_, U"Tab"), Result::kFound);
  EXPECT_EQ(session_.Find(doc_, U"t\u4E2D"), Result::kNotFound);
}

TEST_F(FindSessionTest, FindNextWithTheMatchSelectedFindsTheNextOccurrence) {
  Load(doc_, dir_, Text("abab-ab-a"));
  EXPECT_EQ(session_.FindNext(doc_), Result::kNoPattern);
  EXPECT_EQ(session_.Find(doc_, U"tab"), Result::kFound);
  EXPECT_EQ(session_.LastFound(), 0);
  EXPECT_EQ(session_.FindNext(doc_), Result::kFound);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{2, 2, 3}));
  EXPECT_EQ(session_.FindNext(doc_), Result::kFound);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{5, 5, 6}));
  EXPECT_EQ(session_.FindNext(doc_), Result::kNotFound);
  EXPECT_EQ(*doc_.GetSelection(), (Selection{5, 5, 6}));  // the selection stays
  // One-byte pattern: the caret on the last match moves the search on too.
  doc_.Seek(0, 0, true);
  EXPECT_EQ(session_.Find(doc_, U"t-"), Result::kFound);
  EXPECT_EQ(session_.LastFound(), 4);
  EXPECT_EQ(session_.FindNext(doc_), Result::kFound);
  EXPECT_EQ(session_.LastFound(), 7);
}

TEST(EditorTextsTest, GoToNumbers) {
  EXPECT_EQ(ParseNumberText("0x1F"), 31);
  EXPECT_EQ(ParseNumberText("0X1f"), 31);
  EXPECT_EQ(ParseNumberText("$1f"), 31);
  EXPECT_EQ(ParseNumberText(" 31 "), 31);
  EXPECT_EQ(ParseNumberText("abc"), std::nullopt);
  EXPECT_EQ(ParseNumberText(""), std::nullopt);
  EXPECT_EQ(ParseNumberText("0x"), std::nullopt);
  EXPECT_EQ(ParseNumberText("12a"), std::nullopt);
  EXPECT_EQ(ParseNumberText("99999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseNumberText("-3"), -3);
}

TEST(EditorTextsTest, StatusPanels) {
  ScratchDir dir;
  HexDocument doc;
  doc.New();
  EXPECT_EQ(StatusPanelTexts(doc),
            (std::array<std::string, 6>{"Pos : 0", "", "", "R", "OVW", "Size : 0"}));
  Load(doc, dir, Bytes(300, 0));
  doc.Select(12, 200);
  ASSERT_TRUE(doc.ReplaceByte(0, 1));
  doc.SetAllowInsertMode(true);
  doc.HandleKey(HexKey::kInsert);
  const auto panels = StatusPanelTexts(doc);
  EXPECT_EQ(panels[0], "Pos : 200");
  EXPECT_EQ(panels[1], "Sel : 12 - 200");
  EXPECT_EQ(panels[2], "*");
  EXPECT_EQ(panels[4], "INS");
  EXPECT_EQ(panels[5], "Size : 300");
}

}  // namespace
}  // namespace quorvel
