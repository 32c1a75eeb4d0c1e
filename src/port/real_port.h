// Opens the machine's parallel port at a base address: the Lptio driver on Windows, ppdev or
// direct I/O on Linux. The result says whether it is usable and why not.
#pragma once

#include <cstdint>
#include <memory>

#include "port/hardware_port.h"

namespace quorvel {

// Never null. When the port cannot be used, IsOpen() is false, StatusText() says why, reads
// give 0 and writes do nothing (so the link times out as with no unit attached).
std::unique_ptr<HardwarePort> OpenRealPort(std::uint16_t base_port);

}  // namespace quorvel
