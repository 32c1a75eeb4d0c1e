// Hexadecimal text conversions.
#include "hexedit/hex_text.h"

namespace quorvel {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string BytesToHexText(std::span<const std::uint8_t> bytes, bool swap_nibbles) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    const char high = kDigits[b >> 4];
    const char low = kDigits[b & 0x0F];
    text.push_back(swap_nibbles ? low : high);
    text.push_back(swap_nibbles ? high : low);
  }
  return text;
}

void HexTextParser::Feed(std::string_view text, std::vector<std::uint8_t>& out) {
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) continue;
    if (pending_ < 0) {
      pending_ = digit;
      continue;
    }
    const int first = pending_;
    pending_ = -1;
    out.push_back(
        static_cast<std::uint8_t>(swap_nibbles_ ? digit << 4 | first : first << 4 | digit));
  }
}

std::vector<std::uint8_t> HexTextToBytes(std::string_view text, bool swap_nibbles) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  HexTextParser(swap_nibbles).Feed(text, bytes);
  return bytes;
}

}  // namespace quorvel
