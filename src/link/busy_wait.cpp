// The link's delay loop; the volatile counter keeps every iteration in the program.
#include "link/busy_wait.h"

#include <algorithm>

namespace quorvel {

std::int64_t BusyWait(std::int32_t n) {
  const std::int32_t count = std::min(n, kMaxDelayCount);
  volatile std::int64_t iterations = 0;
  for (std::int64_t i = 0; i <= count; ++i) {
    iterations = iterations + 1;
  }
  return iterations;
}

}  // namespace quorvel
