// Whole-file writes through a fresh file beside the target, and bounded whole-file reads.
#include "card/work_files.h"

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <system_error>

namespace quorvel {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Creates a file that did not exist beside `path` ("x" refuses any existing name, links
// included) and returns it with its name.
FilePtr CreateFreshSibling(const std::filesystem::path& path, std::filesystem::path& created) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::filesystem::path candidate = path;
    candidate += ".tmp" + std::to_string(random() % 1000000);
    if (std::FILE* file = std::fopen(candidate.c_str(), "wbx")) {
      created = candidate;
      return FilePtr(file);
    }
  }
  return nullptr;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::filesystem::path temporary;
  FilePtr file = CreateFreshSibling(path, temporary);
  if (!file) return false;
  bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  written = std::fclose(file.release()) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes(limit);
  const std::size_t count = std::fread(bytes.data(), 1, limit, file.get());
  if (std::ferror(file.get())) return std::nullopt;
  bytes.resize(count);
  return bytes;
}

}  // namespace quorvel
