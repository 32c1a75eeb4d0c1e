// Chunked pattern search over a byte source: a vector scan for the pattern's first and last
// bytes where the processor has one, Boyer-Moore-Horspool otherwise.
#include "hexedit/byte_search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quorvel {
namespace {

// Boyer-Moore-Horspool: compares the window's last byte first and, on a mismatch, shifts the
// window by how far that byte's last occurrence in the pattern is from the pattern's end.
// Data bytes go through fold (the identity when case matters) as they are compared, so
// ignoring case costs no extra pass over the data.
class Horspool {
 public:
  Horspool(std::span<const std::uint8_t> needle, const std::array<std::uint8_t, 256>& fold,
           bool folded)
      : folded_(folded), fold_(fold), needle_(needle) {
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
  const std::array<std::uint8_t, 256>& fold_;
  std::span<const std::uint8_t> needle_;
  std::array<std::size_t, 256> shift_;
};

#ifdef __SSE2__
// The byte values that fold to one needle byte; a vector scan compares each block with each.
constexpr std::size_t kMaxVariants = 4;
struct Variants {
  __m128i splats[kMaxVariants] = {};
  std::size_t count = 0;
};

// Sixteen window positions at a time: a position is a candidate when its first byte and the
// byte n - 1 after it are (variants of) the needle's first and last bytes; only candidates are
// compared whole. On text and on runs of one byte that leaves few candidates, and each block
// costs a few vector instructions, so the scan runs near memory speed.
class VectorScan {
 public:
  // False in `usable` when a needle byte has more variants than the scan compares.
  VectorScan(std::span<const std::uint8_t> needle, const std::array<std::uint8_t, 256>& fold,
             bool folded, bool& usable)
      : folded_(folded), fold_(fold), needle_(needle) {
    usable = Collect(needle_.front(), first_) && Collect(needle_.back(), last_);
  }

  std::int64_t Search(std::span<const std::uint8_t> bytes) const {
    const std::size_t n = needle_.size();
    if (bytes.size() < n) return -1;
    const std::size_t positions = bytes.size() - n + 1;  // window starts to try
    const std::uint8_t* data = bytes.data();
    std::size_t at = 0;
    // Without case folding (one variant each) four blocks are tested together first: the
    // common case, no candidate in 64 positions, costs one test.
    if (first_.count == 1 && last_.count == 1) {
      const __m128i first = first_.splats[0];
      const __m128i last = last_.splats[0];
      for (; at + 64 <= positions; at += 64) {
        __m128i any = _mm_setzero_si128();
        for (std::size_t k = 0; k < 64; k += 16) {
          any = _mm_or_si128(any, _mm_and_si128(_mm_cmpeq_epi8(Load(data + at + k), first),
                                                _mm_cmpeq_epi8(Load(data + at + k + n - 1), last)));
        }
        if (_mm_movemask_epi8(any) == 0) continue;
        for (std::size_t k = 0; k < 64; k += 16) {
          const std::int64_t hit = TestBlock(data, at + k);
          if (hit >= 0) return hit;
        }
      }
    }
    for (; at + 16 <= positions; at += 16) {
      const std::int64_t hit = TestBlock(data, at);
      if (hit >= 0) return hit;
    }
    for (; at < positions; ++at) {
      if (Equal(data + at)) return static_cast<std::int64_t>(at);
    }
    return -1;
  }

 private:
  bool Collect(std::uint8_t wanted, Variants& variants) const {
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<std::uint8_t>(b);
      if ((folded_ ? fold_[byte] : byte) != wanted) continue;
      if (variants.count == kMaxVariants) return false;
      variants.splats[variants.count++] = _mm_set1_epi8(static_cast<char>(byte));
    }
    return variants.count > 0;
  }

  static __m128i Load(const std::uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  }

  // The first match among the sixteen windows that start at `at`, or -1.
  std::int64_t TestBlock(const std::uint8_t* data, std::size_t at) const {
    const std::size_t n = needle_.size();
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(Matches(Load(data + at), first_), Matches(Load(data + at + n - 1), last_))));
    while (mask != 0) {
      const std::size_t hit = at + static_cast<std::size_t>(std::countr_zero(mask));
      if (Equal(data + hit)) return static_cast<std::int64_t>(hit);
      mask &= mask - 1;
    }
    return -1;
  }

  static __m128i Matches(__m128i block, const Variants& variants) {
    __m128i any = _mm_cmpeq_epi8(block, variants.splats[0]);
    for (std::size_t k = 1; k < variants.count; ++k) {
      any = _mm_or_si128(any, _mm_cmpeq_epi8(block, variants.splats[k]));
    }
    return any;
  }

  // The whole window at `window` against the needle.
  bool Equal(const std::uint8_t* window) const {
    const std::size_t n = needle_.size();
    if (!folded_) return std::memcmp(window, needle_.data(), n) == 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (fold_[window[i]] != needle_[i]) return false;
    }
    return true;
  }

  bool folded_;
  const std::array<std::uint8_t, 256>& fold_;
  std::span<const std::uint8_t> needle_;
  Variants first_;
  Variants last_;
};
#endif

// The needle (folded when case is ignored) and the scan that suits it.
class Searcher {
 public:
  Searcher(std::span<const std::uint8_t> pattern, const std::array<std::uint8_t, 256>* fold)
      : folded_(fold != nullptr) {
    for (int b = 0; b < 256; ++b) fold_[b] = fold ? (*fold)[b] : static_cast<std::uint8_t>(b);
    for (const std::uint8_t b : pattern) needle_.push_back(fold_[b]);
#ifdef __SSE2__
    bool usable = false;
    vector_ = std::make_unique<VectorScan>(needle_, fold_, folded_, usable);
    if (!usable) vector_.reset();
#endif
    if (!vector_) horspool_ = std::make_unique<Horspool>(needle_, fold_, folded_);
  }

  // Offset of the first match in bytes, or -1.
  std::int64_t Search(std::span<const std::uint8_t> bytes) const {
#ifdef __SSE2__
    if (vector_) return vector_->Search(bytes);
#endif
    return horspool_->Search(bytes);
  }

 private:
  bool folded_;
  std::array<std::uint8_t, 256> fold_;
  std::vector<std::uint8_t> needle_;
#ifdef __SSE2__
  std::unique_ptr<VectorScan> vector_;
#else
  std::unique_ptr<Horspool> vector_;  // never set: no vector scan on this processor
#endif
  std::unique_ptr<Horspool> horspool_;
};

}  // namespace

std::int64_t FindPattern(const ByteSource& data, std::span<const std::uint8_t> pattern,
                         std::int64_t first, std::int64_t last,
                         const std::array<std::uint8_t, 256>* fold) {
  const auto n = static_cast<std::int64_t>(pattern.size());
  first = std::max<std::int64_t>(first, 0);
  const std::int64_t end = std::min(last, data.Size() - 1) + 1;  // one past the range
  if (n == 0 || n > end - first) return -1;
  const Searcher searcher(pattern, fold);

  // The buffer always starts at buffer_start and keeps the last n - 1 bytes of the previous
  // piece in front, so that a match across two pieces is seen. A range smaller than a piece
  // needs a buffer of its own size only; nothing is cleared before it is read into.
  const auto size = static_cast<std::size_t>(std::max(std::min(kSearchChunk, end - first), 2 * n));
  const std::unique_ptr<std::uint8_t[]> buffer =
      std::make_unique_for_overwrite<std::uint8_t[]>(size);
  std::int64_t buffer_start = first;
  std::int64_t kept = 0;
  std::int64_t next_read = first;
  while (next_read < end) {
    const std::int64_t room = static_cast<std::int64_t>(size) - kept;
    const std::int64_t count = std::min(room, end - next_read);
    if (!data.ReadAt(next_read, std::span(buffer.get() + kept, static_cast<std::size_t>(count)))) {
      return -1;
    }
    next_read += count;
    const std::size_t filled = static_cast<std::size_t>(kept + count);
    const std::int64_t hit = searcher.Search(std::span(buffer.get(), filled));
    if (hit >= 0) return buffer_start + hit;
    kept = std::min(n - 1, kept + count);
    std::memmove(buffer.get(), buffer.get() + filled - kept, static_cast<std::size_t>(kept));
    buffer_start = next_read - kept;
  }
  return -1;
}

}  // namespace quorvel
