// Where the hex editor's caret stands and what is selected.
#pragma once

#include <cstdint>

namespace quorvel {

enum class CaretField { kHex, kChar };

struct Caret {
  std::int64_t position = 0;
  CaretField field = CaretField::kHex;
  int nibble = 0;  // in the hex field: 0 the first displayed nibble, 1 the second
  bool operator==(const Caret&) const = default;
};

// A selection is never empty: first <= last, and the anchor is the end it grows from.
struct Selection {
  std::int64_t anchor = 0;
  std::int64_t first = 0;
  std::int64_t last = 0;
  std::int64_t Count() const { return last - first + 1; }
  bool operator==(const Selection&) const = default;
};

}  // namespace quorvel
