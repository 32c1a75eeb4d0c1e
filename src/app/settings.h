// The program-wide settings kept in the configuration file: the link's port address and
// delay counts, the speed slider's maximum, the drag mode and the automatic refresh switch.
#pragma once

#include <cstdint>

#include "link/settings.h"

namespace quorvel {

struct Settings : LinkSettings {
  std::int32_t slider_max = 9216;
  std::uint8_t drag_mode = 0;     // 1 = a drag between panes moves saves, else copies
  std::uint8_t auto_refresh = 1;  // 1 = automatic refresh runs, else off
};

// Drag mode 1 moves saves between panes; any other value copies them.
inline bool DragMovesSaves(const Settings& settings) { return settings.drag_mode == 1; }
// Auto refresh 1 runs the automatic refresh; any other value leaves it off.
inline bool AutoRefreshOn(const Settings& settings) { return settings.auto_refresh == 1; }

}  // namespace quorvel
