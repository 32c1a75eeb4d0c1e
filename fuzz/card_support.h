// Card images held in memory for the fuzz targets: a CardImage whose image file is a buffer,
// the empty formatted card, and seed cards made by code or taken from the real card data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "card/card_image.h"
#include "fuzz_target.h"

namespace quorvel::fuzz {

// A CardImage (the open image, source 2) reading and writing a 131,072-byte buffer.
class MemoryCard {
 public:
  // Images shorter than a card are padded with zero bytes, longer ones cut.
  explicit MemoryCard(Bytes image);
  ~MemoryCard();
  MemoryCard(const MemoryCard&) = delete;
  MemoryCard& operator=(const MemoryCard&) = delete;

  CardImage& card() { return card_; }
  // The image as written so far (link order).
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  CardImage card_;
};

// A card formatted with 200 user blocks and nothing else written (link order).
const Bytes& EmptyCardImage();

// The card image an input stands for: an input of a whole card or more is that card; a
// shorter one replaces the top of the empty card (the root block first, then the FAT, the
// directory and the data blocks below), so that small inputs reach the card's structures.
Bytes CardImageFromInput(Input input);

// Cards worth starting from: made by code (several saves, a game, damaged chains) and the
// real cards in image order when the shared data is present.
std::vector<Bytes> SeedCards();

// The blocks of a loaded card's save, in chain order (at most its size), in link order.
std::vector<Block> SaveBlocks(CardImage& card, std::size_t index);

}  // namespace quorvel::fuzz
