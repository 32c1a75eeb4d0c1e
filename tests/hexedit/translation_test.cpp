// Tests of the five translations: display, typing, text patterns and case folding.
#include "hexedit/translation.h"

#include <gtest/gtest.h>

#include <set>

#include "hexedit/translation_tables.h"

namespace quorvel {
namespace {

constexpr TranslationType kAll[] = {TranslationType::ttAnsi, TranslationType::ttDos8,
                                    TranslationType::ttASCII, TranslationType::ttMac,
                                    TranslationType::ttEBCDIC};

char32_t Shown(std::uint8_t byte, TranslationType t) { return DisplayChar(byte, t, true, U'.'); }

TEST(TranslationTest, DisplayOfEachTranslation) {
  EXPECT_EQ(Shown(0x41, TranslationType::ttAnsi), U'A');
  EXPECT_EQ(Shown(0xE9, TranslationType::ttAnsi), U'é');
  EXPECT_EQ(Shown(0x80, TranslationType::ttAnsi), U'€');
  EXPECT_EQ(Shown(0x82, TranslationType::ttDos8), U'é');
  EXPECT_EQ(Shown(0xC4, TranslationType::ttDos8), U'─');
  EXPECT_EQ(Shown(0x41, TranslationType::ttASCII), U'A');
  EXPECT_EQ(Shown(0x82, TranslationType::ttASCII), U'.');
  EXPECT_EQ(Shown(0x80, TranslationType::ttMac), U'Ä');
  EXPECT_EQ(Shown(0x81, TranslationType::ttMac), U'Å');
  EXPECT_EQ(Shown(0x82, TranslationType::ttMac), U'Ç');
  EXPECT_EQ(Shown(0x7A, TranslationType::ttMac), U'z');
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(Shown(static_cast<std::uint8_t>(0x81 + i), TranslationType::ttEBCDIC), U'a' + i);
    EXPECT_EQ(Shown(static_cast<std::uint8_t>(0xC1 + i), TranslationType::ttEBCDIC), U'A' + i);
  }
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Shown(static_cast<std::uint8_t>(0xF0 + i), TranslationType::ttEBCDIC), U'0' + i);
  }
  EXPECT_EQ(Shown(0x40, TranslationType::ttEBCDIC), U' ');
  EXPECT_EQ(DisplayChar(0x05, TranslationType::ttEBCDIC, false, U'*'), U'*');  // unmapped
}

TEST(TranslationTest, MaskWhiteSpacesReplacesEveryCharacterBelow32) {
  for (const auto t : {TranslationType::ttAnsi, TranslationType::ttDos8, TranslationType::ttASCII,
                       TranslationType::ttMac}) {
    for (int b = 0; b < 32; ++b) {
      EXPECT_EQ(DisplayChar(static_cast<std::uint8_t>(b), t, true, U'#'), U'#');
      EXPECT_EQ(DisplayChar(static_cast<std::uint8_t>(b), t, false, U'#'), char32_t(b));
    }
    EXPECT_EQ(DisplayChar(32, t, true, U'#'), U' ');
  }
}

TEST(TranslationTest, TablesAreWholeAndReversible) {
  for (const auto* table : {kWindows1252, kCodePage437, kMacRoman}) {
    std::set<char32_t> seen(table, table + 256);
    EXPECT_EQ(seen.size(), 256u);  // one character per byte, no duplicates
  }
  int mapped = 0;
  for (const auto t : kAll) {
    for (int b = 0; b < 256; ++b) {
      const auto ch = ByteToChar(static_cast<std::uint8_t>(b), t);
      if (!ch) continue;
      ++mapped;
      EXPECT_EQ(EncodeChar(*ch, t), b) << static_cast<int>(t) << " byte " << b;
    }
  }
  EXPECT_EQ(mapped, 256 * 3 + 128 + (256 - 65));  // ASCII 128; EBCDIC without its controls
}

TEST(TranslationTest, TypingRules) {
  EXPECT_EQ(TypedCharToByte(U'a', TranslationType::ttAnsi, false), 0x61);
  EXPECT_EQ(TypedCharToByte(U'\t', TranslationType::ttAnsi, false), std::nullopt);
  EXPECT_EQ(TypedCharToByte(U'中', TranslationType::ttAnsi, false), std::nullopt);
  EXPECT_EQ(TypedCharToByte(U'é', TranslationType::ttDos8, false), 0x82);
  EXPECT_EQ(TypedCharToByte(U'é', TranslationType::ttASCII, false), std::nullopt);
  EXPECT_EQ(TypedCharToByte(U'Ä', TranslationType::ttMac, false), 0x80);
  EXPECT_EQ(TypedCharToByte(U' ', TranslationType::ttEBCDIC, false), 0x40);
  EXPECT_EQ(TypedCharToByte(U'7', TranslationType::ttEBCDIC, false), 0xF7);
  // Alt entry: the code page 437 byte, even below 32.
  EXPECT_EQ(TypedCharToByte(U'\x01', TranslationType::ttAnsi, true), 0x01);
  EXPECT_EQ(TypedCharToByte(U'é', TranslationType::ttAnsi, true), 0x82);
}

TEST(TranslationTest, TextPatternsFollowTheTranslation) {
  EXPECT_EQ(EncodeText(U"AB", TranslationType::ttEBCDIC), (std::vector<std::uint8_t>{0xC1, 0xC2}));
  EXPECT_EQ(EncodeText(U"é", TranslationType::ttAnsi), (std::vector<std::uint8_t>{0xE9}));
  EXPECT_EQ(EncodeText(U"é", TranslationType::ttDos8), (std::vector<std::uint8_t>{0x82}));
  EXPECT_EQ(EncodeText(U"aé", TranslationType::ttASCII), std::nullopt);
}

TEST(TranslationTest, LowerCaseTablesFoldWithinTheirTranslation) {
  EXPECT_EQ(LowerCaseTable(TranslationType::ttAnsi)['A'], 'a');
  EXPECT_EQ(LowerCaseTable(TranslationType::ttAnsi)[0xC9], 0xE9);  // É
  EXPECT_EQ(LowerCaseTable(TranslationType::ttAnsi)[0x8A], 0x9A);  // Š
  EXPECT_EQ(LowerCaseTable(TranslationType::ttAnsi)['1'], '1');
  EXPECT_EQ(LowerCaseTable(TranslationType::ttDos8)[0x90], 0x82);    // É
  EXPECT_EQ(LowerCaseTable(TranslationType::ttEBCDIC)[0xC1], 0x81);  // A
  EXPECT_EQ(LowerCaseTable(TranslationType::ttMac)[0x80], 0x8A);     // Ä
  EXPECT_EQ(LowerCaseTable(TranslationType::ttASCII)[0xC9], 0xC9);
}

}  // namespace
}  // namespace quorvel
