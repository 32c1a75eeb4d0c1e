// Save descriptions decoded from Shift-JIS (code page 932) for display, and names for scripts.
#include "card/save_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card/card_fixture.h"
#include "card/file_system.h"

namespace quorvel {
namespace {

std::string Decode(const std::string& bytes) {
  const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
  return DecodeShiftJis(data);
}

struct DecodeCase {
  const char* what;
  std::string bytes;
  std::string text;  // UTF-8
};

TEST(DecodeShiftJis, ReadsAsciiAsTheListingDoesAndTheRestAsCodePage932) {
  const DecodeCase cases[] = {
      {"plain ASCII", "SONIC ADVENTURE ", "SONIC ADVENTURE "},
      {"controls as blanks, 0x1F kept",
       std::string("a\x01\x1F\x7F"
                   "b",
                   5),
       "a \x1F b"},
      {"zero padding as blanks", std::string("AB\0\0", 4), "AB  "},
      {"katakana", "\x83\x5A\x81\x5B\x83\x75", "セーブ"},
      {"kanji beside ASCII", "\x93\xFA\x96\x7B 1", "日本 1"},
      {"half-width katakana", "\xB1\xB2", "ｱｲ"},
      {"code page 932's own wave dash", "\x81\x60", "\xEF\xBD\x9E"},  // U+FF5E, not U+301C
      {"a vendor character of code page 932", "\x87\x40", "①"},
      {"a lead byte cut off at the end", "A\x83", "A\xEF\xBF\xBD"},
      {"a lead byte before a byte that ends no character", "\x81\x20Z", "\xEF\xBF\xBD Z"},
      {"bytes that start no character", "\xA0\xFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const DecodeCase& c : cases) EXPECT_EQ(Decode(c.bytes), c.text) << c.what;
}

TEST(TrimPadding, DropsTrailingBlanksAndZeroBytesOnly) {
  EXPECT_EQ(TrimPadding(std::string("Pacman\0\0 \0", 10)), "Pacman");
  EXPECT_EQ(TrimPadding("  A B  "), "  A B");
  EXPECT_EQ(TrimPadding(std::string("\0 \0", 3)), "");
  EXPECT_EQ(HexBytes(std::string("Pa\0\xFF", 4)), "506100FF");
}

class SaveDescriptions : public ::testing::Test {
 protected:
  const SaveRecord& Load(const test::CardBuilder& builder, int slot) {
    test::OpenBuilt(card, builder, dir);
    EXPECT_EQ(LoadCard(card), LoadResult::kLoaded);
    return card.records[slot];
  }
  test::TempDir dir;
  CardImage card;
};

TEST_F(SaveDescriptions, JapaneseHeaderShowsAsJapaneseFieldByField) {
  test::CardBuilder builder;
  // A short field whose last byte starts a character: each field is decoded on its own.
  const std::string short_field = "\x83\x5A\x81\x5B\x83\x75 \x93\xFA\x96\x7B    \x83";
  const std::string long_field = "\x83\x5A\x81\x5B\x83\x75\x83\x66\x81\x5B\x83\x5E" +
                                 std::string(19, ' ') + "\x5A";  // "...Z" ends the field
  ASSERT_EQ(short_field.size(), 16u);
  ASSERT_EQ(long_field.size(), 32u);
  builder.AddSave(0, "JPSAVE", {199}, false, 1, short_field + long_field);
  const SaveRecord& record = Load(builder, 0);
  EXPECT_EQ(ShortDescription(record), "セーブ 日本    \xEF\xBF\xBD");
  EXPECT_EQ(LongDescription(record), "セーブデータ" + std::string(19, ' ') + "Z");
  EXPECT_EQ(ShownDescription(record),
            "セーブ 日本    \xEF\xBF\xBD"
            "セーブデータ" +
                std::string(19, ' ') + "Z");
}

TEST_F(SaveDescriptions, AsciiShowsAsTheRecordAndFixedTextsFillBothFields) {
  test::CardBuilder builder;
  builder.AddSave(0, "PLAIN", {199}, false, 1, "MAIN FILE       SONIC ADVENTURE 2\x01");
  builder.AddSave(1, "ICONDATA_VMS", {198}, false, 1, "\x83\x5A");
  builder.AddSave(2, "ODD", {197}, false, 64, "\x83\x5A");  // header byte 0x41 = 0: implausible
  test::OpenBuilt(card, builder, dir);
  ASSERT_EQ(LoadCard(card), LoadResult::kLoaded);
  EXPECT_EQ(ShownDescription(card.records[0]), card.records[0].description);
  EXPECT_EQ(ShortDescription(card.records[0]), "MAIN FILE");
  EXPECT_EQ(LongDescription(card.records[0]), "SONIC ADVENTURE 2");
  for (const auto& [slot, text] :
       {std::pair{1, "VMU CAPTION LOGO"}, std::pair{2, "UNKNOWN FILE SAVER"}}) {
    EXPECT_EQ(ShownDescription(card.records[slot]), text);
    EXPECT_EQ(ShortDescription(card.records[slot]), text);
    EXPECT_EQ(LongDescription(card.records[slot]), text);
  }
}

}  // namespace
}  // namespace quorvel
