// Tests of the chunked pattern search, the hex text conversions and the grid numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "hex_test_util.h"
#include "hexedit/byte_search.h"
#include "hexedit/hex_layout.h"
#include "hexedit/hex_text.h"
#include "hexedit/translation.h"

namespace quorvel {
namespace {

using testing_util::Bytes;

std::int64_t Find(const Bytes& data, const Bytes& pattern, std::int64_t first, std::int64_t last,
                  bool ignore_case = false) {
  return FindPattern(MemorySource(data), pattern, first, last,
                     ignore_case ? &LowerCaseTable(TranslationType::ttAnsi) : nullptr);
}

TEST(FindPatternTest, RangeRules) {
  const Bytes data = {1, 2, 3, 1, 2, 3, 4};
  EXPECT_EQ(Find(data, {2, 3}, 0, 6), 1);
  EXPECT_EQ(Find(data, {2, 3}, 2, 6), 4);
  EXPECT_EQ(Find(data, {2, 3}, 0, 1), -1);  // a match must end by last
  EXPECT_EQ(Find(data, {2, 3}, 0, 2), 1);
  EXPECT_EQ(Find(data, {3, 4}, 0, 1000), 5);  // last is at most the last byte
  EXPECT_EQ(Find(data, {}, 0, 6), -1);
  EXPECT_EQ(Find(data, {1, 2, 3}, 4, 5), -1);  // longer than the range
  EXPECT_EQ(Find(data, {1, 1}, 0, 6), -1);
  EXPECT_EQ(Find({}, {1}, 0, 0), -1);
}

TEST(FindPatternTest, FindsMatchesAcrossPieceBoundariesInLargeData) {
  constexpr auto kPiece = static_cast<std::size_t>(kSearchChunk);
  Bytes data(3 * kPiece + 17, 0x55);
  const Bytes pattern = {'n', 'e', 'e', 'd', 'l', 'e'};
  for (const std::size_t at : {kPiece - 3, 2 * kPiece - 1, data.size() - pattern.size()}) {
    Bytes copy = data;
    std::copy(pattern.begin(), pattern.end(), copy.begin() + static_cast<std::ptrdiff_t>(at));
    EXPECT_EQ(Find(copy, pattern, 0, static_cast<std::int64_t>(copy.size())), at);
    EXPECT_EQ(Find(copy, pattern, 100, static_cast<std::int64_t>(at + pattern.size() - 2)), -1);
  }
}

// The scan looks at sixteen positions at a time: a match at every offset around the edges of
// those blocks, patterns of 1 to 20 bytes, near misses (first and last byte right, a middle
// byte wrong) before it, with and without ignoring case, against a plain search.
TEST(FindPatternTest, AgreesWithAPlainSearchAtEveryOffsetAndLength) {
  const auto plain = [](const Bytes& data, const Bytes& pattern, bool ignore_case) {
    const auto& fold = LowerCaseTable(TranslationType::ttAnsi);
    for (std::size_t p = 0; p + pattern.size() <= data.size(); ++p) {
      bool match = true;
      for (std::size_t i = 0; i < pattern.size() && match; ++i) {
        match = ignore_case ? fold[data[p + i]] == fold[pattern[i]] : data[p + i] == pattern[i];
      }
      if (match) return static_cast<std::int64_t>(p);
    }
    return std::int64_t{-1};
  };
  for (std::size_t length = 1; length <= 20; ++length) {
    Bytes pattern(length);
    for (std::size_t i = 0; i < length; ++i) pattern[i] = static_cast<std::uint8_t>('a' + i % 26);
    for (std::size_t at = 0; at < 70; ++at) {
      Bytes data(80 + length, 'z');
      if (length >= 3 && at >= length) {  // a near miss before the match
        std::copy(pattern.begin(), pattern.end(),
                  data.begin() + static_cast<std::ptrdiff_t>(at - length));
        data[at - length + 1] = 'Z';
      }
      for (std::size_t i = 0; i < length; ++i) {
        data[at + i] =
            static_cast<std::uint8_t>(i % 2 == 0 ? std::toupper(pattern[i]) : pattern[i]);
      }
      for (const bool ignore_case : {false, true}) {
        const auto last = static_cast<std::int64_t>(data.size() - 1);
        ASSERT_EQ(Find(data, pattern, 0, last, ignore_case), plain(data, pattern, ignore_case))
            << "length " << length << " at " << at << (ignore_case ? " ignoring case" : "");
        ASSERT_EQ(Find(data, pattern, static_cast<std::int64_t>(at) + 1, last, ignore_case), -1)
            << "length " << length << " after " << at;
      }
    }
  }
}

TEST(FindPatternTest, IgnoreCaseFoldsDataAndPattern) {
  const Bytes data = {'x', 'A', 'b', 'C', 0xC9};
  EXPECT_EQ(Find(data, {'a', 'B', 'c'}, 0, 4, true), 1);
  EXPECT_EQ(Find(data, {'a', 'B', 'c'}, 0, 4, false), -1);
  EXPECT_EQ(Find(data, {0xE9}, 0, 4, true), 4);
}

TEST(HexTextTest, BothDirectionsWithAndWithoutSwappedNibbles) {
  EXPECT_EQ(BytesToHexText(Bytes{0x0A, 0x5F, 0xFF}, false), "0A5FFF");
  EXPECT_EQ(BytesToHexText(Bytes{0x0A, 0x5F, 0xFF}, true), "A0F5FF");
  EXPECT_EQ(HexTextToBytes("0a 5f-FF\r\nz1", false), (Bytes{0x0A, 0x5F, 0xFF}));  // lone 1 dropped
  EXPECT_EQ(HexTextToBytes("A0F5", true), (Bytes{0x0A, 0x5F}));
  EXPECT_EQ(HexTextToBytes("", false), Bytes{});
  // Fed in pieces, a pair may be split between pieces.
  HexTextParser parser(false);
  Bytes out;
  parser.Feed("1", out);
  parser.Feed("2 3", out);
  parser.Feed("4", out);
  EXPECT_EQ(out, (Bytes{0x12, 0x34}));
}

TEST(HexLayoutTest, OffsetTextsAndTheirLength) {
  // A file of 0x12345 bytes: the last row starts at 0x12340, five hex digits.
  const std::int64_t last_row = (RowCount(0x12345, 16) - 1) * 16;
  const int hex = OffsetTextLength(OffsetDisplayType::odHex, last_row);
  EXPECT_EQ(hex, 8);
  EXPECT_EQ(OffsetText(OffsetDisplayType::odHex, 0x10, hex, ':'), "0x00010:");
  const int dec = OffsetTextLength(OffsetDisplayType::odDec, last_row);
  EXPECT_EQ(OffsetText(OffsetDisplayType::odDec, 16, dec, ':'), "   16:");
  const int oct = OffsetTextLength(OffsetDisplayType::odOctal, last_row);
  EXPECT_EQ(OffsetText(OffsetDisplayType::odOctal, 8, oct, ':'), "o 000010:");
  EXPECT_EQ(OffsetTextLength(OffsetDisplayType::odNone, last_row), 0);
  EXPECT_EQ(OffsetText(OffsetDisplayType::odNone, 8, 0, ':'), "");
  // No data.
  EXPECT_EQ(
      OffsetText(OffsetDisplayType::odHex, 0, OffsetTextLength(OffsetDisplayType::odHex, 0), ':'),
      "0x0:");
  EXPECT_EQ(OffsetText(OffsetDisplayType::odOctal, 0,
                       OffsetTextLength(OffsetDisplayType::odOctal, 0), '|'),
            "o 0|");
}

TEST(HexLayoutTest, RowsAndColumns) {
  EXPECT_EQ(RowCount(0, 16), 1);
  EXPECT_EQ(RowCount(16, 16), 1);
  EXPECT_EQ(RowCount(17, 16), 2);
  EXPECT_EQ(RowCount(int64_t{1} << 40, 256), int64_t{1} << 32);  // 64-bit sizes
  EXPECT_EQ(NibbleGridColumn(0, 0), 2);
  EXPECT_EQ(NibbleGridColumn(3, 1), 9);
  EXPECT_EQ(CharGridColumn(0, 16), 35);
  EXPECT_EQ(GridColumnCount(16), 51);
  // One byte per group: a gap after every byte; two bytes: after every second byte.
  EXPECT_EQ(NibbleColumnWidth(2, 1), 1);
  EXPECT_EQ(NibbleColumnWidth(3, 1), 2);
  EXPECT_EQ(NibbleColumnWidth(3, 2), 1);
  EXPECT_EQ(NibbleColumnWidth(5, 2), 2);
  EXPECT_EQ(NibbleColumnWidth(9, 4), 2);
}

}  // namespace
}  // namespace quorvel
