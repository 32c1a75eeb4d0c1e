// Whole-file writes through the safe writer, and bounded whole-file reads.
#include "card/work_files.h"

#include <cstdio>
#include <memory>

#include "files/input_file.h"
#include "files/safe_write.h"

namespace quorvel {
namespace {}  // namespace

bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  return WriteFileSafely(path, bytes);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit) {
  const InputFile input = OpenRegularFile(path);
  if (!input.file) return std::nullopt;
  std::FILE* file = input.file.get();
  std::vector<std::uint8_t> bytes(limit);
  const std::size_t count = std::fread(bytes.data(), 1, limit, file);
  if (std::ferror(file)) return std::nullopt;
  bytes.resize(count);
  return bytes;
}

}  // namespace quorvel
