// Card images for the fuzz targets: the empty formatted card, what an input stands for, and
// seed cards made by code or taken from the real card data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "card/card_image.h"
#include "fuzz_target.h"
#include "support/memory_card.h"

namespace quorvel::fuzz {

using testing::MemoryCard;

// A card formatted with 200 user blocks and nothing else written (link order).
const Bytes& EmptyCardImage();

// Makes `card` hold the card image an input stands for: an input of a whole card or more is
// that card; a shorter one replaces the top of the empty card (the root block first, then the
// FAT, the directory and the data blocks below), so that small inputs reach the card's
// structures.
void ResetFromInput(MemoryCard& card, Input input);

// A card reused by every input of a target (made once, reset per input).
MemoryCard& ReusedCard(int which);

// Cards worth starting from: made by code (several saves, a game, damaged chains), the
// demo cards and the real cards in image order when the shared data is present.
std::vector<Bytes> SeedCards();

// The inputs the card fuzz targets start from: every card of SeedCards, and short inputs that
// replace the last blocks of an empty card with a root block, or with a FAT block and a root.
std::vector<Bytes> SeedCardInputs();

// After a single-save file `save_file` was imported (`imported`) or refused on `target`, which
// held the empty card: imported, the card checks clean, lists the save as a game exactly when
// the card's own test calls the file's entry a game, keeps the entry byte for byte but for its
// first block, and holds the file's blocks byte for byte; refused, the card stores what it
// stored.
void CheckImportOntoEmptyCard(MemoryCard& target, Input save_file, bool imported);

// The listing of a loaded card holds every save with a size, by directory index, closed by
// 0xFF.
void CheckListing(const CardImage& card);

// The blocks of a loaded card's save, in chain order (at most its size), in link order.
std::vector<Block> SaveBlocks(CardImage& card, std::size_t index);

}  // namespace quorvel::fuzz
