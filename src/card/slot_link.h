// What the card layer needs from the link for the two slots: one block read or written per
// call. LinkSlots (link_slots.h) passes them to LinkDevice; tests may script failures.
#pragma once

#include <cstdint>
#include <span>

#include "link/link_device.h"

namespace quorvel {

class SlotLink {
 public:
  virtual ~SlotLink() = default;
  virtual bool ReadSlotBlock(std::uint8_t slot, std::uint8_t block,
                             std::span<std::uint8_t, kBlockSize> buffer) = 0;
  virtual bool WriteSlotBlock(std::uint8_t slot, std::uint8_t block,
                              std::span<const std::uint8_t, kBlockSize> data) = 0;
};

}  // namespace quorvel
