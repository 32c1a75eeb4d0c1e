// The two slots of the real or virtual link unit as the card layer's SlotLink: each block
// goes to LinkDevice's block entry points, which also set its time-out flag.
#pragma once

#include "card/slot_link.h"
#include "link/link_device.h"

namespace quorvel {

// The slots of the real (or virtual) link unit.
class LinkSlots : public SlotLink {
 public:
  explicit LinkSlots(LinkDevice& link) : link_(link) {}
  bool ReadSlotBlock(std::uint8_t slot, std::uint8_t block,
                     std::span<std::uint8_t, kBlockSize> buffer) override {
    return link_.LinkReadBlock(slot, block, buffer);
  }
  bool WriteSlotBlock(std::uint8_t slot, std::uint8_t block,
                      std::span<const std::uint8_t, kBlockSize> data) override {
    return link_.LinkWriteBlock(slot, block, data);
  }
  LinkDevice& device() { return link_; }

 private:
  LinkDevice& link_;
};

}  // namespace quorvel
