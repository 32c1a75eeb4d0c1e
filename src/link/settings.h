// The settings the link reads at every transaction: the port address and the three delay
// counts (kept in the configuration file with the program's other settings).
#pragma once

#include <cstdint>

namespace quorvel {

struct LinkSettings {
  std::uint16_t base_port = 888;
  std::int32_t poll_delay = 256;
  std::int32_t byte_delay = 4608;
  std::int32_t bit_delay = 6912;
};

}  // namespace quorvel
