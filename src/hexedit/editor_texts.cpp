// Go-to numbers and status bar texts of the hex editor window.
#include "hexedit/editor_texts.h"

#include <charconv>

namespace quorvel {

std::optional<std::int64_t> ParseNumberText(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int base = 10;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  } else if (!text.empty() && text[0] == '$') {
    text.remove_prefix(1);
    base = 16;
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::array<std::string, 6> StatusPanelTexts(const HexDocument& doc) {
  const auto& selection = doc.GetSelection();
  std::string selected;
  if (selection) {
    selected = FillText(kSelectionPanelText,
                        {std::to_string(selection->first), std::to_string(selection->last)});
  }
  return {FillText(kPositionPanelText, {std::to_string(doc.CaretPosition())}),
          std::move(selected),
          std::string(doc.Modified() ? "*" : ""),
          std::string(doc.ReadOnly() ? "R" : ""),
          std::string(doc.InsertMode() ? "INS" : "OVW"),
          FillText(kSizePanelText, {std::to_string(doc.Size())})};
}

}  // namespace quorvel
