// Fuzz target: hex text and find. The input's first byte holds the options, the next two the
// length of the text; the text is parsed whole and in pieces (the same bytes), written back
// as hex text and read again (the same bytes); the rest is data searched for a pattern cut
// from the input, with and without case folding, against a plain search.
#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz_support.h"
#include "hexedit/byte_search.h"
#include "hexedit/hex_text.h"

namespace quorvel::fuzz {

std::vector<Bytes> hex_textFuzzSeeds() {
  const auto seed = [](std::uint8_t options, std::string_view text, std::string_view data) {
    Bytes bytes = {options, static_cast<std::uint8_t>(text.size()),
                   static_cast<std::uint8_t>(text.size() >> 8)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
  };
  return {seed(0x00, "48656C6C6F", "say Hello, hello and HELLO"),
          seed(0x03, "84 56 c6 c6 f6 0", "xxHeLLo"),
          seed(0x10, "0A0D0a0d zz 7", std::string(300, 'a') + "aab")};
}

namespace {

std::array<std::uint8_t, 256> LowerCaseFold() {
  std::array<std::uint8_t, 256> fold{};
  for (int i = 0; i < 256; ++i) {
    fold[i] = static_cast<std::uint8_t>(i >= 'A' && i <= 'Z' ? i - 'A' + 'a' : i);
  }
  return fold;
}

std::int64_t PlainFind(Input data, Input pattern, std::int64_t first, std::int64_t last,
                       const std::array<std::uint8_t, 256>* fold) {
  const auto size = static_cast<std::int64_t>(data.size());
  const auto length = static_cast<std::int64_t>(pattern.size());
  if (length == 0) return -1;
  for (std::int64_t p = std::max<std::int64_t>(first, 0);
       p + length - 1 <= last && p + length <= size; ++p) {
    bool match = true;
    for (std::int64_t i = 0; i < length && match; ++i) {
      std::uint8_t a = data[static_cast<std::size_t>(p + i)];
      std::uint8_t b = pattern[static_cast<std::size_t>(i)];
      match = fold != nullptr ? (*fold)[a] == (*fold)[b] : a == b;
    }
    if (match) return p;
  }
  return -1;
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(hex_text, 8192) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  InputReader reader(input);
  const std::uint8_t options = reader.Byte();
  const bool swap = (options & 0x01) != 0;
  const Input text_bytes = reader.Take(reader.Word());
  const std::string_view text(reinterpret_cast<const char*>(text_bytes.data()), text_bytes.size());

  const std::vector<std::uint8_t> whole = HexTextToBytes(text, swap);
  Check(whole.size() <= text.size() / 2, "more bytes than pairs of characters");
  HexTextParser parser(swap);
  std::vector<std::uint8_t> pieces;
  const std::size_t step = 1 + (options >> 4);
  for (std::size_t at = 0; at < text.size(); at += step) parser.Feed(text.substr(at, step), pieces);
  Check(pieces == whole, "hex text read in pieces differs from the text read whole");
  Check(HexTextToBytes(BytesToHexText(whole, swap), swap) == whole,
        "bytes written as hex text and read again differ");

  const Input data = reader.Rest();
  const Input pattern = data.first(std::min<std::size_t>(data.size(), 1 + options % 7));
  const auto size = static_cast<std::int64_t>(data.size());
  const std::int64_t first = size > 0 ? options % (size + 1) : 0;
  const std::int64_t last = size - 1 - (options >> 5);
  static const std::array<std::uint8_t, 256> fold = LowerCaseFold();
  const std::array<std::uint8_t, 256>* folding = (options & 0x02) != 0 ? &fold : nullptr;
  const std::vector<std::uint8_t> copy(data.begin(), data.end());
  const MemorySource source(copy);
  Check(FindPattern(source, pattern, first, last, folding) ==
            PlainFind(data, pattern, first, last, folding),
        "find disagrees with a plain search");
}
