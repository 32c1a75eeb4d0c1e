// Card images for the fuzz targets: the empty formatted card, what an input stands for, and
// seed cards made by code or taken from the real card data.
#pragma once

#include <bitset>
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

// The longest input the card targets take: room for the root, FAT and directory and 16 more
// blocks in the short form below. libFuzzer's own work per input (copy, hashing, mutation)
// grows with its length, and a whole card is 128 KiB.
inline constexpr std::size_t kShortCardMaxLength = 31 * (1 + kBlockSize);

// Makes `card` hold the card image an input stands for: an input of a whole card or more is
// that card; a shorter one is a list of blocks laid onto `base` (the empty card unless
// given), each one byte of block number followed by up to 512 bytes written from the start
// of that block as the image file holds it (the last may be cut short; a later one wins). So
// a small input changes the root, the FAT, a directory block or a save's blocks anywhere on
// the card, and every block it leaves out is the empty card's.
void ResetFromInput(MemoryCard& card, Input input, const Bytes& base);
// The blocks an input lays onto its base (every block for a whole card).
std::bitset<kCardBlocks> LaidBlocks(Input input);
void ResetFromInput(MemoryCard& card, Input input);

// The short form of `image` over `base`: the blocks that differ, the system blocks first
// (root, FAT, directory from the top down), then the others from block 0 up (`upwards`) or
// from the top down, as many as fit in `max_length`. ResetFromInput of it gives `image` when
// everything fitted.
Bytes ShortCardInput(const Bytes& image, const Bytes& base, bool upwards,
                     std::size_t max_length = kShortCardMaxLength);

// A card reused by every input of a target (made once, reset per input).
MemoryCard& ReusedCard(int which);

// The reused card 0 holding the card `input` stands for (ResetFromInput), not yet loaded.
MemoryCard& InputCard(Input input);

// Cards worth starting from: made by code (several saves, a game, damaged chains), the
// demo cards and the real cards in image order when the shared data is present.
std::vector<Bytes> SeedCards();

// The inputs the card fuzz targets start from: every card of SeedCards in the short form (a
// card whose changed blocks do not all fit twice, their saves' blocks taken from the bottom
// and from the top), and the empty card's root block, and its FAT and root, as inputs.
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
