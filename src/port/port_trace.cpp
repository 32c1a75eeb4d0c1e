// The port trace wrapper and its line format.
#include "port/port_trace.h"

#include <array>

namespace quorvel {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kLineLength = 9;  // "W 0378 01"

void FillLine(std::array<char, kLineLength + 1>& line, char kind, std::uint16_t port,
              std::uint8_t value) {
  line = {kind,
          ' ',
          kHexDigits[(port >> 12) & 0xF],
          kHexDigits[(port >> 8) & 0xF],
          kHexDigits[(port >> 4) & 0xF],
          kHexDigits[port & 0xF],
          ' ',
          kHexDigits[(value >> 4) & 0xF],
          kHexDigits[value & 0xF],
          '\n'};
}

}  // namespace

std::string FormatPortAccess(char kind, std::uint16_t port, std::uint8_t value) {
  std::array<char, kLineLength + 1> line{};
  FillLine(line, kind, port, value);
  return std::string(line.data(), kLineLength);
}

std::uint8_t TracingPort::ReadPort(std::uint16_t port) {
  std::uint8_t value = inner_.ReadPort(port);
  Write('R', port, value);
  return value;
}

void TracingPort::WritePort(std::uint16_t port, std::uint8_t value) {
  Write('W', port, value);
  inner_.WritePort(port, value);
}

void TracingPort::Write(char kind, std::uint16_t port, std::uint8_t value) {
  std::array<char, kLineLength + 1> line{};
  FillLine(line, kind, port, value);
  out_.write(line.data(), line.size());
}

}  // namespace quorvel
