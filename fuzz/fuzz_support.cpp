// Scratch folder, file helpers and real-data lookup for the fuzz targets.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace quorvel::fuzz {
namespace {

std::filesystem::path scratch_dir;

void RemoveScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch_dir, ignored);
}

}  // namespace

const std::filesystem::path& ScratchDir() {
  if (scratch_dir.empty()) {
    // In memory when the system has a folder there: targets that go through files then cost
    // no disk writes.
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    scratch_dir = base / ("quorvel-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch_dir);
    std::atexit(RemoveScratchDir);
  }
  return scratch_dir;
}

void WriteFile(const std::filesystem::path& path, Input bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  Check(static_cast<bool>(out), "the scratch file could not be written");
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<Bytes> RealData(std::string_view relative) {
  const std::filesystem::path path = std::filesystem::path(QUORVEL_REALDATA_DIR) / relative;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return ReadFile(path);
}

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace quorvel::fuzz
