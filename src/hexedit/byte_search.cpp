// Chunked Boyer-Moore-Horspool search over a byte source.
#include "hexedit/byte_search.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace quorvel {
namespace {

constexpr std::int64_t kSearchChunk = 1024 * 1024;

// Boyer-Moore-Horspool: compares the window's last byte first and, on a mismatch, shifts the
// window by how far that byte's last occurrence in the pattern is from the pattern's end.
// Data bytes go through fold (the identity when case matters) as they are compared, so
// ignoring case costs no extra pass over the data.
class Horspool {
 public:
  Horspool(std::span<const std::uint8_t> pattern, const std::array<std::uint8_t, 256>* fold) {
    folded_ = fold != nullptr;
    for (int b = 0; b < 256; ++b) fold_[b] = fold ? (*fold)[b] : static_cast<std::uint8_t>(b);
    for (const std::uint8_t b : pattern) needle_.push_back(fold_[b]);
    const std::size_t n = needle_.size();
    shift_.fill(n);
    for (std::size_t i = 0; i + 1 < n; ++i) shift_[needle_[i]] = n - 1 - i;
  }

  // Offset of the first match in bytes, or -1.
  std::int64_t Search(std::span<const std::uint8_t> bytes) const {
    return folded_ ? SearchWith<true>(bytes) : SearchWith<false>(bytes);
  }

 private:
  std::uint8_t Fold(std::uint8_t b, std::bool_constant<true>) const { return fold_[b]; }
  std::uint8_t Fold(std::uint8_t b, std::bool_constant<false>) const { return b; }

  template <bool kFolded>
  std::int64_t SearchWith(std::span<const std::uint8_t> bytes) const {
    const std::bool_constant<kFolded> folded;
    const std::size_t n = needle_.size();
    const std::uint8_t last = needle_[n - 1];
    for (std::size_t at = 0; at + n <= bytes.size();) {
      const std::uint8_t c = Fold(bytes[at + n - 1], folded);
      if (c == last) {
        std::size_t i = 0;
        while (i + 1 < n && Fold(bytes[at + i], folded) == needle_[i]) ++i;
        if (i + 1 == n) return static_cast<std::int64_t>(at);
      }
      at += shift_[c];
    }
    return -1;
  }

  bool folded_;
  std::array<std::uint8_t, 256> fold_;
  std::vector<std::uint8_t> needle_;
  std::array<std::size_t, 256> shift_;
};

}  // namespace

std::int64_t FindPattern(const ByteSource& data, std::span<const std::uint8_t> pattern,
                         std::int64_t first, std::int64_t last,
                         const std::array<std::uint8_t, 256>* fold) {
  const auto n = static_cast<std::int64_t>(pattern.size());
  first = std::max<std::int64_t>(first, 0);
  const std::int64_t end = std::min(last, data.Size() - 1) + 1;  // one past the range
  if (n == 0 || n > end - first) return -1;
  const Horspool searcher(pattern, fold);

  // The buffer always starts at buffer_start and keeps the last n - 1 bytes of the previous
  // piece in front, so that a match across two pieces is seen.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::max(kSearchChunk, 2 * n)));
  std::int64_t buffer_start = first;
  std::int64_t kept = 0;
  std::int64_t next_read = first;
  while (next_read < end) {
    const std::int64_t room = static_cast<std::int64_t>(buffer.size()) - kept;
    const std::int64_t count = std::min(room, end - next_read);
    if (!data.ReadAt(next_read, std::span(buffer.data() + kept, static_cast<std::size_t>(count)))) {
      return -1;
    }
    next_read += count;
    const std::size_t filled = static_cast<std::size_t>(kept + count);
    const std::int64_t hit = searcher.Search(std::span(buffer.data(), filled));
    if (hit >= 0) return buffer_start + hit;
    kept = std::min(n - 1, kept + count);
    std::memmove(buffer.data(), buffer.data() + filled - kept, static_cast<std::size_t>(kept));
    buffer_start = next_read - kept;
  }
  return -1;
}

}  // namespace quorvel
