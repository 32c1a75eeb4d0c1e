// OpenRealPort: chooses the platform's way to the parallel port.
#include "port/real_port.h"

#ifdef _WIN32
#include "port/port_access.h"
#include "port/win32_calls.h"
#else
#include "port/linux_parallel_port.h"
#include "port/ppdev_calls.h"
#endif

namespace quorvel {

std::unique_ptr<HardwarePort> OpenRealPort([[maybe_unused]] std::uint16_t base_port) {
#ifdef _WIN32
  // The driver reaches any I/O address, so the base address only matters to the link.
  auto port = std::make_unique<TPortAccess>(SystemWin32Calls());
  port->SetOpened(true);
  return port;
#else
  return std::make_unique<LinuxParallelPort>(base_port, SystemPpdevCalls());
#endif
}

}  // namespace quorvel
