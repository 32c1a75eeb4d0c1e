// Row count, offset texts and column widths of the hex editor's grid.
#include "hexedit/hex_layout.h"

#include <cstdio>

namespace quorvel {
namespace {

int DigitCount(std::int64_t value, int base) {
  int digits = 1;
  while (value >= base) {
    value /= base;
    ++digits;
  }
  return digits;
}

}  // namespace

std::int64_t RowCount(std::int64_t size, int bytes_per_line) {
  const std::int64_t rows = (size + bytes_per_line - 1) / bytes_per_line;
  return rows < 1 ? 1 : rows;
}

int OffsetTextLength(OffsetDisplayType display, std::int64_t last_row_offset) {
  switch (display) {
    case OffsetDisplayType::odHex:
      return DigitCount(last_row_offset, 16) + 3;
    case OffsetDisplayType::odDec:
      return DigitCount(last_row_offset, 10) + 1;
    case OffsetDisplayType::odOctal:
      return DigitCount(last_row_offset, 8) + 3;
    case OffsetDisplayType::odNone:
      return 0;
  }
  return 0;
}

std::string OffsetText(OffsetDisplayType display, std::int64_t offset, int length, char separator) {
  char text[64];
  const auto value = static_cast<long long>(offset);
  switch (display) {
    case OffsetDisplayType::odHex:
      std::snprintf(text, sizeof text, "0x%0*llX%c", length - 3, value, separator);
      return text;
    case OffsetDisplayType::odDec:
      std::snprintf(text, sizeof text, "%*lld%c", length - 1, value, separator);
      return text;
    case OffsetDisplayType::odOctal:
      std::snprintf(text, sizeof text, "o %0*llo%c", length - 3, value, separator);
      return text;
    case OffsetDisplayType::odNone:
      return {};
  }
  return {};
}

int NibbleColumnWidth(int grid_column, int bytes_per_column) {
  return grid_column % (2 * bytes_per_column) == 1 ? 2 : 1;
}

}  // namespace quorvel
