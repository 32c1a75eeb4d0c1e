// Centring a window on the main window.
#include "gui/centre_on.h"

namespace quorvel {

void CentreOn(QWidget& window, const QWidget& owner) {
  const QRect frame = owner.frameGeometry();
  window.move(frame.left() + (frame.width() - window.width()) / 2,
              frame.top() + (frame.height() - window.height()) / 2);
}

}  // namespace quorvel
