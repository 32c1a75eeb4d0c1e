// The hex editor's 64 KiB read cache: the bytes of the working file around the position being
// drawn, reloaded when a row does not lie wholly inside, patched in place by one-byte writes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "hexedit/working_data.h"

namespace quorvel {

class ReadCache {
 public:
  static constexpr std::int64_t kSize = 65536;

  // The count bytes at position (count <= kSize, inside the data); empty when a read fails.
  std::span<const std::uint8_t> Get(const WorkingData& data, std::int64_t position,
                                    std::int64_t count);
  void UpdateByte(std::int64_t position, std::uint8_t value);
  void Invalidate() { bytes_.clear(); }
  std::int64_t Start() const { return start_; }
  std::int64_t Length() const { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  bool Holds(std::int64_t position, std::int64_t count) const {
    return position >= start_ && position + count <= start_ + Length();
  }

  std::int64_t start_ = 0;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace quorvel
