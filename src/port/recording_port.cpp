// The recording PortIo used by the link tests.
#include "port/recording_port.h"

#include "port/port_trace.h"

namespace quorvel {

std::uint8_t RecordingPort::ReadPort(std::uint16_t port) {
  std::uint8_t value = reader_ ? reader_(port) : 0;
  accesses_.push_back({'R', port, value});
  return value;
}

void RecordingPort::WritePort(std::uint16_t port, std::uint8_t value) {
  accesses_.push_back({'W', port, value});
}

std::string RecordingPort::Text() const {
  std::string text;
  for (const PortAccess& access : accesses_) {
    text += FormatPortAccess(access.kind, access.port, access.value);
    text += '\n';
  }
  return text;
}

}  // namespace quorvel
