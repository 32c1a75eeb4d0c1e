// A PortIo that reaches real hardware and can say whether it is usable, and if not, why.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "port/port_io.h"

namespace quorvel {

class HardwarePort : public PortIo {
 public:
  // True while the port can be read and written.
  virtual bool IsOpen() const = 0;
  // One line for the user: which method is in use, or why the port cannot be reached and
  // what to do about it.
  virtual std::string StatusText() const = 0;
};

// An I/O address as the user sees it: "0x0378".
inline std::string PortAddressText(std::uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", address);
  return text;
}

}  // namespace quorvel
