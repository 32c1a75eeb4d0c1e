// The link's delay: a busy loop of n + 1 iterations that the optimiser cannot remove.
#pragma once

#include <cstdint>

namespace quorvel {

// Spins n + 1 empty iterations when n >= 0 and none when n is negative. Returns the number
// of iterations run.
std::int64_t BusyWait(std::int32_t n);

}  // namespace quorvel
