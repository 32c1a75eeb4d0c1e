// Fuzz target: the link protocol against a unit that answers anything. Each input bit is
// one read of the unit's line (status bit 6), most significant bit first, so input bytes
// line up with the bytes an exchange receives; the input repeats once it is used up. Every command
// ends in bounded time, a failed block call leaves the time-out flag set, and the port trace has
// one line per access.
#include <array>
#include <ostream>
#include <streambuf>
#include <string>

#include "fuzz_support.h"
#include "link/link_device.h"
#include "port/port_trace.h"

namespace quorvel::fuzz {

namespace {

// Byte pairs that pass the handshake (line raised, then dropped) and the sync reply.
void AppendHandshakeAndSync(Bytes& bytes) {
  bytes.insert(bytes.end(), {0x80, 0xA9, 0x55});  // bits: 1 then 0 (handshake), A9 55
}

}  // namespace

std::vector<Bytes> linkFuzzSeeds() {
  Bytes answered;
  for (int command = 0; command < 24; ++command) {
    AppendHandshakeAndSync(answered);
    answered.insert(answered.end(), 8, 0x00);
  }
  // A unit that answers the first command, then stays silent long enough (more than 800
  // polls) for the next transaction to time out.
  Bytes then_silent{0x80, 0xA9, 0x55, 0x00, 0x00};
  then_silent.insert(then_silent.end(), 120, 0x00);
  return {answered, Bytes(64, 0xFF), Bytes(64, 0x00), then_silent};
}

namespace {

// The unit's line, one input bit per status read. Once the input is used up the unit answers
// it again from its start, so that a command running when the input ends fails the way that
// input makes it fail (usually a wrong sync reply, within a few bytes) instead of waiting for
// the time-out of every transaction left in it; time-outs come from runs of zero bits in the
// input (a silent unit: 800 polls), and an empty input is a unit that never answers.
class BitPort : public PortIo {
 public:
  BitPort(Input bits, std::uint16_t status_port) : bits_(bits), status_port_(status_port) {}

  std::uint8_t ReadPort(std::uint16_t port) override {
    ++accesses_;
    if (port != status_port_ || bits_.empty()) return 0;
    if (next_bit_ == bits_.size() * 8) {
      next_bit_ = 0;
      wrapped_ = true;
    }
    const std::uint8_t byte = bits_[next_bit_ / 8];
    const bool bit = ((byte >> (7 - next_bit_ % 8)) & 1) != 0;
    ++next_bit_;
    return bit ? 0x40 : 0x00;
  }
  void WritePort(std::uint16_t, std::uint8_t) override { ++accesses_; }

  // True once every input bit has been read.
  bool Exhausted() const { return wrapped_ || next_bit_ == bits_.size() * 8; }
  std::size_t accesses() const { return accesses_; }

 private:
  Input bits_;
  std::uint16_t status_port_;
  std::size_t next_bit_ = 0;
  bool wrapped_ = false;
  std::size_t accesses_ = 0;
};

// A clock whose second moves on every few calls, so that a silent unit times out at once.
LinkHooks FastClock() {
  auto calls = std::make_shared<int>(0);
  LinkHooks hooks;
  // The texts are made once: a silent unit asks for the time on every one of its polls.
  static const std::array<std::string, 50> kTimes = [] {
    std::array<std::string, 50> times;
    for (int second = 0; second < 50; ++second)
      times[second] = "12:00:" + std::to_string(10 + second);
    return times;
  }();
  hooks.time_of_day = [calls] { return kTimes[static_cast<std::size_t>((*calls)++ / 4 % 50)]; };
  return hooks;
}

// Where the trace goes: each line is checked as it is written (ten characters, the last the
// line end) and counted, instead of a trace of megabytes kept per input.
class LineCounter : public std::streambuf {
 public:
  std::size_t lines() const { return lines_; }
  bool well_formed() const { return well_formed_; }

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    if (count != 10 || text[9] != '\n' || (text[0] != 'R' && text[0] != 'W')) well_formed_ = false;
    ++lines_;
    return count;
  }
  int_type overflow(int_type c) override {
    well_formed_ = false;  // a trace line is written whole, never a character at a time
    return traits_type::not_eof(c);
  }

 private:
  std::size_t lines_ = 0;
  bool well_formed_ = true;
};

void CheckBlockCall(const LinkDevice& link, bool ok) {
  Check(link.TimedOut() == !ok, "a block call's time-out flag does not match its result");
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(link, 4096) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  LinkSettings settings;
  settings.poll_delay = 0;
  settings.byte_delay = 0;
  settings.bit_delay = 0;
  BitPort unit(input, static_cast<std::uint16_t>(settings.base_port + 1));
  LineCounter counter;
  std::ostream trace(&counter);
  TracingPort traced(unit, trace);
  LinkDevice link(traced, settings, FastClock());

  std::array<std::uint8_t, kBlockSize> block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
  const auto steps = {
      +[](LinkDevice& l, std::span<std::uint8_t, kBlockSize>) { l.DetectUnitType(); },
      +[](LinkDevice& l, std::span<std::uint8_t, kBlockSize> b) {
        CheckBlockCall(l, l.LinkReadBlock(0, 255, b));
      },
      +[](LinkDevice& l, std::span<std::uint8_t, kBlockSize> b) {
        CheckBlockCall(l, l.LinkWriteBlock(1, 3, b));
      },
      +[](LinkDevice& l, std::span<std::uint8_t, kBlockSize>) {
        bool slot1 = true;
        bool slot2 = true;
        l.GetCardPresence(slot1, slot2);
      },
      +[](LinkDevice& l, std::span<std::uint8_t, kBlockSize>) {
        std::uint16_t highest = 0;
        l.HighestPage(highest);
      },
      +[](LinkDevice& l, std::span<std::uint8_t, kBlockSize> b) { l.ReadMemory(0x1FE00, b); },
  };
  for (const auto& step : steps) {
    if (unit.Exhausted()) break;
    step(link, block);
  }
  Check(counter.well_formed() && counter.lines() == unit.accesses(),
        "the trace does not hold one line per access");
}
