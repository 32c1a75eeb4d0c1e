// The search state of the hex editor window: the find box's text rules ("t.." text, "T.." text
// ignoring case, else hex digits), the last pattern and found position, and Find Next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hexedit/hex_document.h"

namespace quorvel {

struct FindRequest {
  std::vector<std::uint8_t> pattern;  // already in the document's translation
  bool ignore_case = false;
};

// The pattern a find box text asks for, or nullopt when it asks for nothing (empty) or for
// characters the translation has no bytes for. Hex texts are lower-cased, stripped of every
// non-digit, given a leading "0" when the digit count is odd, and read in pairs.
std::optional<FindRequest> ParseFindText(std::u32string_view text, const HexDocument& doc);

class FindSession {
 public:
  enum class Result { kFound, kNotFound, kNoPattern };

  // Forgets the pattern and the last found position (a new search begins).
  void Reset();
  // A new search for text from the caret to the last byte; a match is selected.
  Result Find(HexDocument& doc, std::u32string_view text);
  // Searches on with the stored pattern; kNoPattern when there is none (run Find then).
  Result FindNext(HexDocument& doc);
  // The text last typed into the find box (its initial text next time).
  const std::u32string& LastText() const { return last_text_; }
  std::int64_t LastFound() const { return last_found_; }

 private:
  Result SearchFrom(HexDocument& doc, std::int64_t first);

  std::optional<FindRequest> request_;
  std::int64_t last_found_ = -1;
  std::u32string last_text_;
};

}  // namespace quorvel
