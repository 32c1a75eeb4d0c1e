// The card's file system on a CardImage: root block, FAT, FAT chains, the directory and the
// save records built from it, and the one operation that loads a whole card into its model.
#pragma once

#include <cstdint>
#include <string>

#include "card/card_image.h"

namespace quorvel {

// Root block 255 into card.root (logical order); card.io_error = not success.
void ReadRoot(CardImage& card);
// Writes card.root (which stays logical) to block 255; card.io_error = not success.
void WriteRoot(CardImage& card);
// Block 254 into card.fat (decoded even when the read failed); card.io_error = not success.
void ReadFat(CardImage& card);
void WriteFat(CardImage& card);

// Starts a walk at `block`: false when the block is free. The caller handles `block` itself.
bool ChainBegin(CardImage& card, std::uint8_t block);
// The next block of the walk; false at the end of the chain.
bool ChainNext(CardImage& card, std::uint8_t& block);

// Reads the directory chain from block 253 (at most 13 blocks) into card.records.
void ReadDirectory(CardImage& card);
// Writes the entries of card.records along the directory chain; false when a block was not
// written (or the chain does not begin).
bool WriteDirectory(CardImage& card);
// Rebuilds the directory chain 253 ... 241 in memory unless FAT[254] and FAT[255] both end.
void RepairSystemChain(CardImage& card);

// The root's user-block count (low byte only).
std::uint8_t UserBlockCount(const CardImage& card);
// False when FAT entry 0 or 1 reads "not formatted".
bool IsFormatted(const CardImage& card);
// True when a directory entry holds a save (first block not 0, or a game).
bool HoldsSave(const DirEntry& entry);
// True for a game entry as the directory load sees it (type 0xCC, byte 0x03 zero).
bool IsGameEntry(const DirEntry& entry);

// A save's name for messages: bytes outside printable ASCII shown as '.'.
std::string PrintableName(const std::string& name);

// Rebuilds the listed saves (every record with a size, in index order) and the free-block
// count. Returns the free blocks as the free-block bar shows them (16-bit arithmetic).
std::uint16_t UpdateListing(CardImage& card);

enum class LoadResult {
  kLoaded,       // root, FAT and directory read; listing and free-block count set
  kUnformatted,  // FAT entry 0 or 1 is 0xFFFF; only root and FAT were read
  kFailed,       // the root or FAT could not be read, or the link failed during the load
};

// Loads the card from its source, starting from a cleared model: root, FAT, system chain
// repair, directory with each save's header, listing. No block is read twice during one
// load; a CacheScope held by the caller extends that to what it reads next (icon frames).
LoadResult LoadCard(CardImage& card);

}  // namespace quorvel
