// Find and Find Next of the hex editor window.
#include "hexedit/find_session.h"

#include "hexedit/hex_text.h"

namespace quorvel {

std::optional<FindRequest> ParseFindText(std::u32string_view text, const HexDocument& doc) {
  FindRequest request;
  if (!text.empty() && (text[0] == U't' || text[0] == U'T')) {
    auto pattern = doc.TextPattern(text.substr(1));
    if (!pattern) return std::nullopt;
    request.pattern = std::move(*pattern);
    request.ignore_case = text[0] == U'T';
  } else {
    std::string digits;
    for (const char32_t ch : text) {
      if (ch < 128 && HexDigitValue(static_cast<char>(ch)) >= 0)
        digits.push_back(static_cast<char>(ch));
    }
    if (digits.size() % 2 == 1) digits.insert(digits.begin(), '0');
    request.pattern = HexTextToBytes(digits, false);
  }
  if (request.pattern.empty()) return std::nullopt;
  return request;
}

void FindSession::Reset() {
  request_.reset();
  last_found_ = -1;
}

FindSession::Result FindSession::Find(HexDocument& doc, std::u32string_view text) {
  Reset();
  last_text_ = text;
  request_ = ParseFindText(text, doc);
  if (!request_) {
    // A text with characters the translation lacks cannot occur; an empty pattern just stops.
    const bool text_mode = !text.empty() && (text[0] == U't' || text[0] == U'T');
    return text_mode && text.size() > 1 ? Result::kNotFound : Result::kNoPattern;
  }
  return SearchFrom(doc, doc.CaretPosition());
}

FindSession::Result FindSession::FindNext(HexDocument& doc) {
  if (!request_) return Result::kNoPattern;
  // The match still selected (or the caret on it) must not be found again.
  const auto& selection = doc.GetSelection();
  const bool on_last_match = selection
                                 ? selection->first == last_found_ || selection->last == last_found_
                                 : doc.CaretPosition() == last_found_;
  std::int64_t first = last_found_ < 0 ? doc.CaretPosition() : last_found_;
  if (on_last_match) ++first;
  return SearchFrom(doc, first);
}

FindSession::Result FindSession::SearchFrom(HexDocument& doc, std::int64_t first) {
  const std::int64_t found =
      doc.Find(request_->pattern, request_->ignore_case, doc.Size() - 1, first);
  if (found < 0) return Result::kNotFound;
  last_found_ = found;
  doc.Select(found, found + static_cast<std::int64_t>(request_->pattern.size()) - 1);
  return Result::kFound;
}

}  // namespace quorvel
