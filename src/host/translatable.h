// Texts of the core that the window shows translated. The core has no Qt: it marks such a text
// with QT_TRANSLATE_NOOP (which the translation tools find by its name) and uses the text as
// it stands, with "%1", "%2" ... filled in by FillText. The window recognises a filled text
// with MatchText and shows the translation of its template filled with the same values.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The same definition as Qt's, so that either may come first.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace quorvel {

// `text` with each "%N" (N from 1 to 9) replaced by the Nth of `values`, in one pass: a value
// that itself holds "%2" stays as it is. A "%N" without a value stays too.
inline std::string FillText(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string filled;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
    if (text[i] == '%' && n >= 1 && n <= 9 && n <= values.size()) {
      filled += *(values.begin() + (n - 1));
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

// The values that FillText put into `text` to make `filled`, in the order of their numbers;
// nullopt when `filled` was not made from `text`. Where a value could end at several places
// the first one is taken (names are not expected to repeat the template's own words).
inline std::optional<std::vector<std::string>> MatchText(std::string_view text,
                                                         std::string_view filled) {
  // The template's fixed pieces and the numbers of the values between them.
  std::vector<std::string_view> pieces;
  std::vector<int> numbers;
  std::size_t start = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') {
      pieces.push_back(text.substr(start, i - start));
      numbers.push_back(text[i + 1] - '0');
      start = i + 2;
      ++i;
    }
  }
  pieces.push_back(text.substr(start));
  if (!filled.starts_with(pieces.front())) return std::nullopt;
  if (numbers.empty()) {
    if (filled.size() != text.size()) return std::nullopt;
    return std::vector<std::string>{};
  }
  std::vector<std::string> values(9);
  std::size_t at = pieces.front().size();
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    const std::string_view next = pieces[k + 1];
    std::size_t end;
    if (k + 1 == numbers.size()) {
      if (!filled.ends_with(next) || filled.size() < at + next.size()) return std::nullopt;
      end = filled.size() - next.size();
    } else {
      end = filled.find(next, at);
      if (end == std::string_view::npos) return std::nullopt;
    }
    values[numbers[k] - 1] = std::string(filled.substr(at, end - at));
    at = end + next.size();
  }
  int highest = 0;
  for (const int n : numbers) highest = std::max(highest, n);
  values.resize(highest);
  return values;
}

}  // namespace quorvel
