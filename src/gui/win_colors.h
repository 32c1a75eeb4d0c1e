// Colours as the window descriptions give them (0x00BBGGRR) and the palette roles that
// carry a control's font and background colour.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

namespace quorvel {

// 0x00BBGGRR to a Qt colour.
inline QColor WinColor(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

// A Qt colour back to 0x00BBGGRR (tests compare against the documented values).
inline std::uint32_t ToWinColor(const QColor& color) {
  return static_cast<std::uint32_t>(color.red()) |
         (static_cast<std::uint32_t>(color.green()) << 8) |
         (static_cast<std::uint32_t>(color.blue()) << 16);
}

// Font colour of a label, panel or button.
void SetFontColor(QWidget* widget, std::uint32_t bgr);
std::uint32_t FontColor(const QWidget* widget);

// Background colour of a panel or label (filled), or the text area of a list view.
void SetBackColor(QWidget* widget, std::uint32_t bgr);
std::uint32_t BackColor(const QWidget* widget);

}  // namespace quorvel
