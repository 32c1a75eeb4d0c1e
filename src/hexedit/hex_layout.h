// The numbers of the hex editor's grid: rows, the offset column's text and width, and which
// grid column shows which nibble or character. Plain arithmetic, shared by drawing, mouse
// handling and printing.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

enum class OffsetDisplayType { odHex, odDec, odOctal, odNone };

// Rows of data laid out bytes_per_line to a row: at least one, also for no data.
std::int64_t RowCount(std::int64_t size, int bytes_per_line);

// The length L of every offset text (separator included), from the offset of the last row:
// hex its digit count + 3, decimal its digit count + 1, octal its octal digit count + 3,
// none 0.
int OffsetTextLength(OffsetDisplayType display, std::int64_t last_row_offset);

// The offset text of a row starting at offset, L characters long: "0x" + upper-case hex
// zero-padded to L - 3 digits, the decimal number blank-padded to L - 1, or "o " + octal
// zero-padded to L - 3, each followed by the separator; empty for odNone.
std::string OffsetText(OffsetDisplayType display, std::int64_t offset, int length, char separator);

// Grid columns: 0 offset, 1 marker, then two per byte (the nibbles in display order), one
// blank separator column, then one character column per byte.
inline int NibbleGridColumn(int byte_in_row, int displayed_nibble) {
  return 2 + 2 * byte_in_row + displayed_nibble;
}
inline int CharGridColumn(int byte_in_row, int bytes_per_line) {
  return 3 + 2 * bytes_per_line + byte_in_row;
}
inline int GridColumnCount(int bytes_per_line) { return 3 + 3 * bytes_per_line; }

// Width of a nibble column in characters: 2 for the column that closes a group of
// bytes_per_column bytes (grid index modulo 2 × bytes_per_column is 1), giving the gap.
int NibbleColumnWidth(int grid_column, int bytes_per_column);

}  // namespace quorvel
