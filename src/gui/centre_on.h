// Centring a window on the main window, as every dialog and the wait window are placed.
#pragma once

#include <QWidget>

namespace quorvel {

// Moves `window` so that it is centred on `owner`'s outer frame: left = owner left + (owner
// width - window width) / 2 and top likewise, the division rounding toward zero.
void CentreOn(QWidget& window, const QWidget& owner);

}  // namespace quorvel
