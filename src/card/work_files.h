// Writing whole files safely: the program's working files in its working directory and the
// files the user chooses (card dumps, icon pictures) are written through here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace quorvel {

// Writes `bytes` to a new file beside `path`, flushes it and renames it over `path` (see
// WriteFileSafely). A failure leaves `path` as it was and returns false with errno telling
// why; a link planted at `path` is replaced, never followed; an old file's permissions stay.
bool ReplaceFileContents(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Reads at most `limit` bytes from the start of the file at `path`; nothing when it cannot be
// opened or read, or is not a regular file (a FIFO or a device is never opened for reading).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t limit);

}  // namespace quorvel
