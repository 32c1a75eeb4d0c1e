// Chunked Boyer-Moore-Horspool search over a byte source.
#include "hexedit/byte_search.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace quorvel {
namespace {

constexpr std::int64_t kSearchChunk = 1024 * 1024;

void Fold(std::span<std::uint8_t> bytes, const std::array<std::uint8_t, 256>* fold) {
  if (fold == nullptr) return;
  for (std::uint8_t& b : bytes) b = (*fold)[b];
}

}  // namespace

std::int64_t FindPattern(const ByteSource& data, std::span<const std::uint8_t> pattern,
                         std::int64_t first, std::int64_t last,
                         const std::array<std::uint8_t, 256>* fold) {
  const auto n = static_cast<std::int64_t>(pattern.size());
  first = std::max<std::int64_t>(first, 0);
  const std::int64_t end = std::min(last, data.Size() - 1) + 1;  // one past the range
  if (n == 0 || n > end - first) return -1;

  std::vector<std::uint8_t> needle(pattern.begin(), pattern.end());
  Fold(needle, fold);
  const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());

  // The buffer always starts at buffer_start and keeps the last n - 1 bytes of the previous
  // piece in front, so that a match across two pieces is seen.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::max(kSearchChunk, 2 * n)));
  std::int64_t buffer_start = first;
  std::int64_t kept = 0;
  std::int64_t next_read = first;
  while (next_read < end) {
    const std::int64_t room = static_cast<std::int64_t>(buffer.size()) - kept;
    const std::int64_t count = std::min(room, end - next_read);
    const std::span<std::uint8_t> fresh(buffer.data() + kept, static_cast<std::size_t>(count));
    if (!data.ReadAt(next_read, fresh)) return -1;
    Fold(fresh, fold);
    next_read += count;
    const auto filled = buffer.begin() + kept + count;
    const auto hit = std::search(buffer.begin(), filled, searcher);
    if (hit != filled) return buffer_start + (hit - buffer.begin());
    kept = std::min(n - 1, kept + count);
    std::memmove(buffer.data(), &*(filled - kept), static_cast<std::size_t>(kept));
    buffer_start = next_read - kept;
  }
  return -1;
}

}  // namespace quorvel
