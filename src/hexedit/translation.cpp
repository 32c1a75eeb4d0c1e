// Byte-to-character and character-to-byte conversions of the five translations.
#include "hexedit/translation.h"

#include "hexedit/translation_tables.h"

namespace quorvel {
namespace {

constexpr int kTranslationCount = 5;

}  // namespace

std::optional<char32_t> ByteToChar(std::uint8_t byte, TranslationType translation) {
  switch (translation) {
    case TranslationType::ttAnsi:
      return kWindows1252[byte];
    case TranslationType::ttDos8:
      return kCodePage437[byte];
    case TranslationType::ttASCII:
      if (byte > 127) return std::nullopt;
      return byte;
    case TranslationType::ttMac:
      return kMacRoman[byte];
    case TranslationType::ttEBCDIC:
      if (kEbcdic037[byte] == 0) return std::nullopt;
      return kEbcdic037[byte];
  }
  return std::nullopt;
}

namespace {

std::optional<std::uint8_t> ReverseLookup(const char32_t (&table)[256], char32_t ch) {
  for (int b = 0; b < 256; ++b) {
    if (table[b] == ch) return static_cast<std::uint8_t>(b);
  }
  return std::nullopt;
}

char32_t ToLower(char32_t c) {
  const bool latin_upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
  const bool greek_upper = c >= 0x391 && c <= 0x3A9 && c != 0x3A2;
  if (latin_upper || greek_upper) return c + 0x20;
  switch (c) {
    case 0x152:  // Œ
    case 0x160:  // Š
    case 0x17D:  // Ž
      return c + 1;
    case 0x178:  // Ÿ
      return 0xFF;
    default:
      return c;
  }
}

std::array<std::uint8_t, 256> BuildLowerCaseTable(TranslationType translation) {
  std::array<std::uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    table[b] = byte;
    if (const auto ch = ByteToChar(byte, translation)) {
      if (const auto lower = EncodeChar(ToLower(*ch), translation)) table[b] = *lower;
    }
  }
  return table;
}

}  // namespace

char32_t DisplayChar(std::uint8_t byte, TranslationType translation, bool mask_white_spaces,
                     char32_t mask_char) {
  const char32_t ch = ByteToChar(byte, translation).value_or(mask_char);
  return mask_white_spaces && ch < 32 ? mask_char : ch;
}

std::optional<std::uint8_t> EncodeChar(char32_t ch, TranslationType translation) {
  switch (translation) {
    case TranslationType::ttAnsi:
      return ReverseLookup(kWindows1252, ch);
    case TranslationType::ttDos8:
      return ReverseLookup(kCodePage437, ch);
    case TranslationType::ttASCII:
      if (ch > 127) return std::nullopt;
      return static_cast<std::uint8_t>(ch);
    case TranslationType::ttMac:
      return ReverseLookup(kMacRoman, ch);
    case TranslationType::ttEBCDIC:
      if (ch == 0) return std::nullopt;
      return ReverseLookup(kEbcdic037, ch);
  }
  return std::nullopt;
}

std::optional<std::uint8_t> TypedCharToByte(char32_t ch, TranslationType translation,
                                            bool alt_entry) {
  if (alt_entry) return ReverseLookup(kCodePage437, ch);
  const auto byte = EncodeChar(ch, translation);
  if (!byte || *byte < 32) return std::nullopt;
  return byte;
}

std::optional<std::vector<std::uint8_t>> EncodeText(std::u32string_view text,
                                                    TranslationType translation) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size());
  for (const char32_t ch : text) {
    const auto byte = EncodeChar(ch, translation);
    if (!byte) return std::nullopt;
    bytes.push_back(*byte);
  }
  return bytes;
}

const std::array<std::uint8_t, 256>& LowerCaseTable(TranslationType translation) {
  static const auto tables = [] {
    std::array<std::array<std::uint8_t, 256>, kTranslationCount> all{};
    for (int t = 0; t < kTranslationCount; ++t) {
      all[t] = BuildLowerCaseTable(static_cast<TranslationType>(t));
    }
    return all;
  }();
  return tables[static_cast<int>(translation)];
}

}  // namespace quorvel
