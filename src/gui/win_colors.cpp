// Font and background colours of controls, kept in their palettes.
#include "gui/win_colors.h"

#include <QAbstractItemView>
#include <QPalette>

namespace quorvel {

namespace {

QPalette::ColorRole BackRole(const QWidget* widget) {
  return qobject_cast<const QAbstractItemView*>(widget) ? QPalette::Base : QPalette::Window;
}

}  // namespace

void SetFontColor(QWidget* widget, std::uint32_t bgr) {
  if (FontColor(widget) == bgr) return;  // a palette change repaints the control
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, WinColor(bgr));
  palette.setColor(QPalette::Text, WinColor(bgr));
  palette.setColor(QPalette::ButtonText, WinColor(bgr));
  widget->setPalette(palette);
}

std::uint32_t FontColor(const QWidget* widget) {
  return ToWinColor(widget->palette().color(QPalette::WindowText));
}

void SetBackColor(QWidget* widget, std::uint32_t bgr) {
  widget->setAutoFillBackground(true);
  if (BackColor(widget) == bgr) return;
  QPalette palette = widget->palette();
  palette.setColor(BackRole(widget), WinColor(bgr));
  widget->setPalette(palette);
}

std::uint32_t BackColor(const QWidget* widget) {
  return ToWinColor(widget->palette().color(BackRole(widget)));
}

}  // namespace quorvel
