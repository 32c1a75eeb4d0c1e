// The 256-entry character tables of the hex editor's translations, each byte as a Unicode
// character; in the EBCDIC table 0 marks a byte without a character.
#pragma once

namespace quorvel {

extern const char32_t kWindows1252[256];
extern const char32_t kCodePage437[256];
extern const char32_t kMacRoman[256];
extern const char32_t kEbcdic037[256];

}  // namespace quorvel
