// A code file in the test's temporary directory, removed when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorvel::testing {

class CodeFile {
 public:
  explicit CodeFile(const std::vector<std::uint8_t>& bytes) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::path(::testing::TempDir()) /
            (std::string(test->test_suite_name()) + "." + test->name() + "." +
             std::to_string(::getpid()) + "." + std::to_string(next_id_++) + ".bin");
    Write(bytes);
  }
  ~CodeFile() { std::filesystem::remove(path_); }
  CodeFile(const CodeFile&) = delete;
  CodeFile& operator=(const CodeFile&) = delete;

  const std::filesystem::path& path() const { return path_; }

  void Write(const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  std::vector<std::uint8_t> Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  static inline int next_id_ = 0;
  std::filesystem::path path_;
};

// Bytes that look like code: a fixed pseudo-random sequence.
inline std::vector<std::uint8_t> PseudoRandomCode(std::size_t size, std::uint32_t seed = 1) {
  std::vector<std::uint8_t> bytes(size);
  for (auto& byte : bytes) {
    seed = seed * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(seed >> 16);
  }
  return bytes;
}

}  // namespace quorvel::testing
