// Searching large data for a byte pattern: the data is read in pieces of kSearchChunk bytes
// (never byte by byte through single reads) and each piece is scanned for the pattern.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "hexedit/byte_source.h"

namespace quorvel {

// The size of the pieces the data is read in: small enough to stay in the processor's cache
// between the read and the scan, large enough that a read costs little per byte.
inline constexpr std::int64_t kSearchChunk = 256 * 1024;

// The first position p with first <= p whose match ends at or before last (and inside the
// data), or -1. With fold, data and pattern bytes are compared through that table (used to
// ignore case). Fails at once when the pattern is empty or longer than the range, and when a
// read fails.
std::int64_t FindPattern(const ByteSource& data, std::span<const std::uint8_t> pattern,
                         std::int64_t first, std::int64_t last,
                         const std::array<std::uint8_t, 256>* fold = nullptr);

}  // namespace quorvel
