// The system calls of the Linux parallel-port backend (ppdev ioctls, and ioperm with inb/outb
// for direct I/O), gathered in one table so that tests can stand in for the kernel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorvel {

// The ppdev requests the backend uses; the real table maps them to PPCLAIM, PPWDATA ...
enum class PpRequest {
  kClaim,         // PPCLAIM; gives up with EINTR when the port stays held for 3 seconds
  kRelease,       // PPRELEASE
  kReadData,      // PPRDATA
  kWriteData,     // PPWDATA
  kReadStatus,    // PPRSTATUS
  kReadControl,   // PPRCONTROL
  kWriteControl,  // PPWCONTROL
};

const char* PpRequestName(PpRequest request);

// Every call returns 0 (or a descriptor) on success and the negated errno on failure.
struct PpdevCalls {
  std::function<int(const std::string& path)> open;  // read and write
  // `value` is the byte read or the byte to write; kClaim and kRelease ignore it.
  std::function<int(int fd, PpRequest request, std::uint8_t& value)> ioctl;
  std::function<void(int fd)> close;
  std::function<int(std::uint16_t from, std::uint16_t count)> ioperm;  // grants access
  std::function<std::uint8_t(std::uint16_t port)> inb;
  std::function<void(std::uint16_t port, std::uint8_t value)> outb;
};

// The real calls. Where the platform lacks them, each fails with ENOSYS.
PpdevCalls SystemPpdevCalls();

}  // namespace quorvel
