// Helpers shared by the hex editor tests: a scratch directory with small files, and reading a
// document's whole data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hexedit/hex_document.h"

namespace quorvel::testing_util {

using Bytes = std::vector<std::uint8_t>;

class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::path(::testing::TempDir()) /
            (std::string("quorvel_hexedit_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }

  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }

  std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

inline Bytes ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes DataOf(const HexDocument& doc) { return doc.BufferFromFile(0, doc.Size()); }

// A document holding bytes (appended, then the undo list and flags reset by a save-free path:
// the bytes are written to a file and opened).
inline void Load(HexDocument& doc, const ScratchDir& dir, const Bytes& bytes,
                 const std::string& name = "data.bin") {
  ASSERT_TRUE(doc.Open(dir.Write(name, bytes)));
}

inline Bytes Sequence(std::size_t count, std::uint8_t start = 0) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(start + i);
  return bytes;
}

}  // namespace quorvel::testing_util
