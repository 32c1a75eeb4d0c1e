// A scripted Linux kernel for the parallel-port backend: descriptors, ppdev ioctls and direct
// I/O, every call logged. Tests open "real" ports over it, so no test reaches the machine's
// ports.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "port/ppdev_calls.h"

namespace quorvel::testing {

// The kernel as the backend sees it: descriptors, ioctls and direct I/O, all logged.
struct FakeKernel {
  std::map<std::string, int> open_errors;  // path -> errno
  int claim_error = 0;
  int ioctl_error = 0;  // for every register request
  int ioperm_error = EPERM;
  std::uint8_t status = 0x7F;
  std::uint8_t data_latch = 0;
  std::vector<std::string> log;

  PpdevCalls Calls() {
    PpdevCalls calls;
    calls.open = [this](const std::string& path) {
      log.push_back("open " + path);
      auto it = open_errors.find(path);
      return it == open_errors.end() ? 7 : -it->second;
    };
    calls.ioctl = [this](int fd, PpRequest request, std::uint8_t& value) {
      char text[48];
      std::snprintf(text, sizeof text, "%s %d %02X", PpRequestName(request), fd, value);
      log.push_back(text);
      if (request == PpRequest::kClaim) return -claim_error;
      if (request == PpRequest::kRelease) return 0;
      if (ioctl_error != 0) return -ioctl_error;
      if (request == PpRequest::kReadStatus) value = status;
      if (request == PpRequest::kWriteData) data_latch = value;
      if (request == PpRequest::kReadData) value = data_latch;
      return 0;
    };
    calls.close = [this](int fd) { log.push_back("close " + std::to_string(fd)); };
    calls.ioperm = [this](std::uint16_t from, std::uint16_t count) {
      char text[32];
      std::snprintf(text, sizeof text, "ioperm %04X %u", from, count);
      log.push_back(text);
      return -ioperm_error;
    };
    calls.inb = [this](std::uint16_t port) {
      char text[16];
      std::snprintf(text, sizeof text, "inb %04X", port);
      log.push_back(text);
      return status;
    };
    calls.outb = [this](std::uint16_t port, std::uint8_t value) {
      char text[24];
      std::snprintf(text, sizeof text, "outb %04X %02X", port, value);
      log.push_back(text);
    };
    return calls;
  }
};

}  // namespace quorvel::testing
