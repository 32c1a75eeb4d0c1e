// The texts of a save for people: its descriptions decoded from Shift-JIS (code page 932, as
// the console writes Japanese) into UTF-8, and its name without padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "card/card_image.h"

namespace quorvel {

// The two description fields at the start of a save's header (logical order): a short one
// for the card's own screen, then a long one for the console's file menu.
inline constexpr std::size_t kShortDescriptionSize = 16;
inline constexpr std::size_t kLongDescriptionSize = 32;

// A description field as UTF-8 text, one character per character of the field. Plain ASCII
// reads as the card listing shows it: a byte below 0x1F and DEL become blanks (0x1F stays).
// Other bytes are read as Shift-JIS (code page 932): two-byte characters and half-width
// katakana; a byte that starts no character becomes U+FFFD, and a decoded control character
// a blank, so that the text is always valid UTF-8 and carries no control byte but 0x1F.
std::string DecodeShiftJis(std::span<const std::uint8_t> bytes);

// `text` without trailing blanks and zero bytes.
std::string TrimPadding(const std::string& text);

// The description the window shows for a save, as UTF-8: both header fields decoded, or the
// fixed text the listing gives a save without a readable header ("VMU CAPTION LOGO" ...).
std::string ShownDescription(const SaveRecord& record);

// The short and the long description field of a save's header, decoded, without padding; a
// save listed with a fixed text has that text in both.
std::string ShortDescription(const SaveRecord& record);
std::string LongDescription(const SaveRecord& record);

// The bytes as upper-case hexadecimal digits, two per byte, nothing between them.
std::string HexBytes(const std::string& bytes);

}  // namespace quorvel
