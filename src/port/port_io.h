// The one seam between the program and the parallel-port hardware: a byte read or a byte
// write at a 16-bit I/O address. Real ports, the virtual link unit and test recorders all
// implement it.
#pragma once

#include <cstdint>

namespace quorvel {

class PortIo {
 public:
  virtual ~PortIo() = default;

  // Returns the byte at `port`; 0 when the port cannot be read.
  virtual std::uint8_t ReadPort(std::uint16_t port) = 0;
  // Writes `value` to `port`; does nothing when the port cannot be written.
  virtual void WritePort(std::uint16_t port, std::uint8_t value) = 0;
};

}  // namespace quorvel
