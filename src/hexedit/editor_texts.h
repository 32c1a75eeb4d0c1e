// Texts of the hex editor window that depend only on the document: numbers typed into the
// go-to and jump boxes, and the six status bar panels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "hexedit/hex_document.h"
#include "host/translatable.h"

namespace quorvel {

// "0x" (any case) or "$" in front means hexadecimal, anything else decimal; blanks around the
// number are allowed. nullopt when the text is not a number.
std::optional<std::int64_t> ParseNumberText(std::string_view text);

// Panels: "Pos : n", "Sel : a - b" or empty, "*" or empty, "R" or empty, "INS"/"OVW",
// "Size : n".
std::array<std::string, 6> StatusPanelTexts(const HexDocument& doc);
// The templates of the three panels that hold numbers (the window translates them).
inline constexpr std::string_view kPositionPanelText = QT_TRANSLATE_NOOP("HexEditor", "Pos : %1");
inline constexpr std::string_view kSelectionPanelText =
    QT_TRANSLATE_NOOP("HexEditor", "Sel : %1 - %2");
inline constexpr std::string_view kSizePanelText = QT_TRANSLATE_NOOP("HexEditor", "Size : %1");

}  // namespace quorvel
