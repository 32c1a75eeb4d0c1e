// Bytes as hexadecimal text and back: two upper-case digits per byte with no separators; the
// swap flag exchanges the nibbles (low nibble first).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

std::string BytesToHexText(std::span<const std::uint8_t> bytes, bool swap_nibbles);

// Reads hexadecimal digits (either case) in pairs, skipping every other character; an
// unpaired last digit is dropped.
std::vector<std::uint8_t> HexTextToBytes(std::string_view text, bool swap_nibbles);

// The same reading, fed piece by piece (for text files of any size).
class HexTextParser {
 public:
  explicit HexTextParser(bool swap_nibbles) : swap_nibbles_(swap_nibbles) {}
  // Appends the bytes completed by text to out.
  void Feed(std::string_view text, std::vector<std::uint8_t>& out);

 private:
  bool swap_nibbles_;
  int pending_ = -1;  // the first digit of an unfinished pair
};

// The value of a hexadecimal digit character, or -1.
int HexDigitValue(char c);

}  // namespace quorvel
