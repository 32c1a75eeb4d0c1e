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
  std::array<std::string, 6> panels;
  panels[0] = "Pos : " + std::to_string(doc.CaretPosition());
  if (const auto& selection = doc.GetSelection()) {
    panels[1] =
        "Sel : " + std::to_string(selection->first) + " - " + std::to_string(selection->last);
  }
  panels[2] = doc.Modified() ? "*" : "";
  panels[3] = doc.ReadOnly() ? "R" : "";
  panels[4] = doc.InsertMode() ? "INS" : "OVW";
  panels[5] = "Size : " + std::to_string(doc.Size());
  return panels;
}

}  // namespace quorvel
