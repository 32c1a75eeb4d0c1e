// What the fuzz targets share: a scratch folder for the files they must go through, a quiet
// message seam, a reader that takes values from the front of an input, and the real cards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_target.h"
#include "host/messages.h"

namespace quorvel::fuzz {

// A folder of this process's own in /dev/shm (under the system's temporary directory where
// there is none), made on first use and removed when the process ends.
const std::filesystem::path& ScratchDir();

void WriteFile(const std::filesystem::path& path, Input bytes);
Bytes ReadFile(const std::filesystem::path& path);

// A file of the shared real card data (`relative` below its folder), when it is present.
std::optional<Bytes> RealData(std::string_view relative);

Bytes ToBytes(std::string_view text);

// Answers every question with No and counts what it was told.
class QuietMessages : public Messages {
 public:
  void Inform(std::string_view) override { ++told; }
  void Warn(std::string_view) override { ++told; }
  bool AskYesNo(std::string_view) override {
    ++told;
    return false;
  }
  Answer AskYesNoCancel(std::string_view) override {
    ++told;
    return Answer::kCancel;
  }
  int told = 0;
};

// Takes values from the front of an input; once it is used up every value is 0.
class InputReader {
 public:
  explicit InputReader(Input input) : rest_(input) {}

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    std::uint8_t value = rest_.front();
    rest_ = rest_.subspan(1);
    return value;
  }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
  // At most `count` bytes.
  Input Take(std::size_t count) {
    Input taken = rest_.first(std::min(count, rest_.size()));
    rest_ = rest_.subspan(taken.size());
    return taken;
  }
  Input Rest() const { return rest_; }
  bool Empty() const { return rest_.empty(); }

 private:
  Input rest_;
};

}  // namespace quorvel::fuzz
