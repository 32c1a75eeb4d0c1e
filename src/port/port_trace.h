// The port trace: a PortIo wrapper that writes one line per port access ("W 0378 01",
// "R 0379 40") and passes the access on unchanged.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "port/port_io.h"

namespace quorvel {

// One trace line without its line end: 'W' or 'R', the address as four upper-case hex
// digits and the byte as two, separated by single blanks.
std::string FormatPortAccess(char kind, std::uint16_t port, std::uint8_t value);

class TracingPort : public PortIo {
 public:
  // Both must outlive the wrapper.
  TracingPort(PortIo& inner, std::ostream& out) : inner_(inner), out_(out) {}

  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;

 private:
  void Write(char kind, std::uint16_t port, std::uint8_t value);

  PortIo& inner_;
  std::ostream& out_;
};

}  // namespace quorvel
