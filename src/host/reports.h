// What the layers below tell whoever shows the program's state, without knowing who listens:
// the progress of a long operation, the status text (the window's link status label) and the
// event that the link gave up on a block after all its attempts. The desktop program shows
// them in its window; quorvel-cli and the tests listen to what they need.
#pragma once

#include <functional>
#include <string_view>

namespace quorvel {

// Every member may be left empty.
struct Reports {
  // Progress of a long operation: position out of maximum (both 0 when it ends).
  std::function<void(int position, int maximum)> progress;
  // The new status text.
  std::function<void(std::string_view text)> status_text;
  // A block transfer over the link failed all its attempts; the user is told separately.
  std::function<void()> link_gave_up;
};

// Each passes its report on when `reports` is set and has a listener for it.
inline void ReportProgress(const Reports* reports, int position, int maximum) {
  if (reports != nullptr && reports->progress) reports->progress(position, maximum);
}
inline void ReportStatus(const Reports* reports, std::string_view text) {
  if (reports != nullptr && reports->status_text) reports->status_text(text);
}
inline void ReportLinkGaveUp(const Reports* reports) {
  if (reports != nullptr && reports->link_gave_up) reports->link_gave_up();
}

}  // namespace quorvel
