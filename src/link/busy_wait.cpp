// The link's delay loop; the volatile counter keeps every iteration in the program.
#include "link/busy_wait.h"

namespace quorvel {

std::int64_t BusyWait(std::int32_t n) {
  volatile std::int64_t iterations = 0;
  for (std::int64_t i = 0; i <= n; ++i) {
    iterations = iterations + 1;
  }
  return iterations;
}

}  // namespace quorvel
