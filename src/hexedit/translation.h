// The hex editor's five character translations: how a byte is shown in the character field,
// how a typed or searched character becomes a byte, and case folding for searches.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvel {

enum class TranslationType { ttAnsi, ttDos8, ttASCII, ttMac, ttEBCDIC };

// The character of byte in the translation before any masking, or nullopt when it has none.
std::optional<char32_t> ByteToChar(std::uint8_t byte, TranslationType translation);

// The character shown for byte; mask_white_spaces replaces every character below 32 by
// mask_char, and bytes the translation has no character for show mask_char too.
char32_t DisplayChar(std::uint8_t byte, TranslationType translation, bool mask_white_spaces,
                     char32_t mask_char);

// The byte that stands for ch in the translation (nullopt when there is none).
std::optional<std::uint8_t> EncodeChar(char32_t ch, TranslationType translation);

// The byte a character typed into the character field enters, or nullopt when it is ignored:
// characters without a byte and bytes below 32 are ignored; a character entered with Alt (a
// numeric-pad code) is taken in the OEM code page and entered even below 32.
std::optional<std::uint8_t> TypedCharToByte(char32_t ch, TranslationType translation,
                                            bool alt_entry);

// A text as bytes of the translation, or nullopt when some character has no byte (such a
// pattern cannot occur in the data).
std::optional<std::vector<std::uint8_t>> EncodeText(std::u32string_view text,
                                                    TranslationType translation);

// For each byte, the byte of its lower-case character in the same translation (the byte
// itself when it has none); searches that ignore case compare bytes through it.
const std::array<std::uint8_t, 256>& LowerCaseTable(TranslationType translation);

}  // namespace quorvel
