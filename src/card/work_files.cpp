// Whole-file writes through the safe writer, and bounded whole-file reads.
#include "card/work_files.h"

#include <cstdio>
#include <memory>

#include "files/safe_write.h"

namespace quorvel {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  return WriteFileSafely(path, bytes);
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
