// A PortIo without hardware that records every access in order, so tests can check the
// exact register traffic; reads are answered by a function the test supplies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "port/port_io.h"

namespace quorvel {

struct PortAccess {
  char kind;  // 'R' or 'W'
  std::uint16_t port;
  std::uint8_t value;

  bool operator==(const PortAccess&) const = default;
};

class RecordingPort : public PortIo {
 public:
  // Answers a read of `port`; without one every read gives 0 (a dead port).
  using Reader = std::function<std::uint8_t(std::uint16_t port)>;

  explicit RecordingPort(Reader reader = {}) : reader_(std::move(reader)) {}

  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;

  void SetReader(Reader reader) { reader_ = std::move(reader); }
  const std::vector<PortAccess>& Accesses() const { return accesses_; }
  void Clear() { accesses_.clear(); }
  // The log as trace lines, one per access, for readable test failures.
  std::string Text() const;

 private:
  Reader reader_;
  std::vector<PortAccess> accesses_;
};

}  // namespace quorvel
