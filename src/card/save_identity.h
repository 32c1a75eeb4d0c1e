// Which save a working file was taken from, so that the file goes back over that save only:
// the hex editor and the code window hand the save's data out and write it back later, and the
// card may have changed in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "card/card_image.h"

namespace quorvel {

struct SaveIdentity {
  std::size_t index = 0;  // directory slot
  std::string name;       // the 12 name bytes
  std::uint8_t first_block = 0;
  std::uint16_t size = 0;
};

// The save in directory slot `index` of the card's model.
SaveIdentity IdentifySave(const CardImage& card, std::size_t index);

// True when the card still holds that save: the model's record matches and, for a slot (whose
// card may have been taken out and another put in), the card read again has the same record
// and the same FAT, so that the save's chain in the model is the chain on the card. The model
// itself is not changed.
bool SaveStillThere(const CardImage& card, const SaveIdentity& save);

}  // namespace quorvel
