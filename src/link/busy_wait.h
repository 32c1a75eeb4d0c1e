// The link's delay: a busy loop of n + 1 iterations that the optimiser cannot remove.
#pragma once

#include <cstdint>

namespace quorvel {

// The largest delay count that is honoured (0x40000). A block crosses the link as about 570
// bytes, each costing 17 waits of the byte or bit count, plus up to 4 x 801 handshake polls of
// the poll count: about 13,000 waits, so 3.4 x 10^9 loop iterations at this count, well under
// a minute at the 1 to 4 ns per iteration of a PC (the default counts take 1/38 of that).
inline constexpr std::int32_t kMaxDelayCount = 262144;

// Spins n + 1 empty iterations when n >= 0 (at most kMaxDelayCount + 1) and none when n is
// negative. Returns the number of iterations run.
std::int64_t BusyWait(std::int32_t n);

}  // namespace quorvel
