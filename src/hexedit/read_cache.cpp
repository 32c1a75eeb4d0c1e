// Loading and patching the read cache.
#include "hexedit/read_cache.h"

#include <algorithm>

namespace quorvel {

std::span<const std::uint8_t> ReadCache::Get(const WorkingData& data, std::int64_t position,
                                             std::int64_t count) {
  if (position < 0 || count < 0 || position > data.Size() - count) return {};
  if (!Holds(position, count)) {
    start_ = std::max<std::int64_t>(0, position - kSize / 2);
    bytes_.resize(static_cast<std::size_t>(std::min(kSize, data.Size() - start_)));
    if (!data.Read(start_, bytes_)) bytes_.clear();
    if (!Holds(position, count)) return {};
  }
  return std::span<const std::uint8_t>(bytes_).subspan(static_cast<std::size_t>(position - start_),
                                                       static_cast<std::size_t>(count));
}

void ReadCache::UpdateByte(std::int64_t position, std::uint8_t value) {
  if (Holds(position, 1)) bytes_[static_cast<std::size_t>(position - start_)] = value;
}

}  // namespace quorvel
