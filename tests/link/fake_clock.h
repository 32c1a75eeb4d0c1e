// A time-of-day source for link tests: the text changes only when the test says so, or
// after a given number of readings.
#pragma once

#include <string>

namespace quorvel::testing {

class FakeClock {
 public:
  explicit FakeClock(std::string text = "12:00:00") : text_(std::move(text)) {}

  // From the reading after `readings` more readings on, the text is `next`.
  void ChangeAfter(int readings, std::string next) {
    change_at_ = readings_ + readings;
    next_ = std::move(next);
  }
  // The second advances every `readings` readings, for tests where units stay silent.
  void TickEvery(int readings) { tick_every_ = readings; }
  std::string Read() {
    if (tick_every_ > 0) {
      int second = readings_++ / tick_every_;
      return "12:" + std::to_string(10 + second / 60) + ":" + std::to_string(10 + second % 60);
    }
    if (change_at_ >= 0 && readings_ >= change_at_) {
      text_ = next_;
      change_at_ = -1;
    }
    ++readings_;
    return text_;
  }
  int Readings() const { return readings_; }

 private:
  std::string text_;
  std::string next_;
  int readings_ = 0;
  int change_at_ = -1;
  int tick_every_ = 0;
};

}  // namespace quorvel::testing
