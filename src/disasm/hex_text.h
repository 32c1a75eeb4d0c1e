// Upper-case hexadecimal digits with leading zeros, as every listing text shows them.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// Appends the low `digits` hex digits of `value` to `text`.
inline void AppendHex(std::string& text, std::uint32_t value, int digits) {
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
    text += kHexDigits[(value >> shift) & 0xF];
  }
}

}  // namespace quorvel
