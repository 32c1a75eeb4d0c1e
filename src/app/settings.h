// The program-wide settings kept in the configuration file: the link's port address and
// delay counts, the speed slider's maximum, the drag mode, the automatic refresh switch, and
// the journal of card writes with its two read-back checks.
#pragma once

#include <cstdint>

#include "link/settings.h"

namespace quorvel {

struct Settings : LinkSettings {
  std::int32_t slider_max = 9216;
  std::uint8_t drag_mode = 0;          // 1 = a drag between panes moves saves, else copies
  std::uint8_t auto_refresh = 1;       // 1 = automatic refresh runs, else off
  std::uint8_t journal = 1;            // 1 = every write to a card is recorded so it can be undone
  std::uint8_t verify_whole_card = 1;  // 1 = formats, restores and undos read back each block
  std::uint8_t verify_single_saves = 0;  // 1 = commands on single saves read back each block
};

// Drag mode 1 moves saves between panes; any other value copies them.
inline bool DragMovesSaves(const Settings& settings) { return settings.drag_mode == 1; }
// Auto refresh 1 runs the automatic refresh; any other value leaves it off.
inline bool AutoRefreshOn(const Settings& settings) { return settings.auto_refresh == 1; }
// The journal switches: likewise only 1 means on.
inline bool JournalOn(const Settings& settings) { return settings.journal == 1; }
inline bool VerifyWholeCard(const Settings& settings) { return settings.verify_whole_card == 1; }
inline bool VerifySingleSaves(const Settings& settings) {
  return settings.verify_single_saves == 1;
}

}  // namespace quorvel
