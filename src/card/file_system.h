// The card's file system on a CardImage: root block, FAT, FAT chains, the directory and the
// save records built from it, and the one operation that loads a whole card into its model.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "card/card_image.h"

namespace quorvel {

// Root block 255 into card.root (logical order); card.io_error = not success.
void ReadRoot(CardImage& card);
// Writes card.root (which stays logical) to block 255; card.io_error = not success.
void WriteRoot(CardImage& card);
// Block 254 into card.fat (decoded even when the read failed); card.io_error = not success.
void ReadFat(CardImage& card);
// The 256 FAT entries of a FAT block in logical order.
void DecodeFat(std::span<const std::uint8_t, kBlockSize> block,
               std::array<std::uint16_t, kCardBlocks>& fat);
void WriteFat(CardImage& card);

// The position of one walk along a FAT chain: the next block, 0xFF at the end. Each walk has
// its own, so walks on one card may nest.
struct ChainCursor {
  std::uint8_t next = 0xFF;
};

// Starts a walk at `block`: false when the block is free. The caller handles `block` itself.
bool ChainBegin(const CardImage& card, std::uint8_t block, ChainCursor& cursor);
// The next block of the walk; false at the end of the chain.
bool ChainNext(const CardImage& card, ChainCursor& cursor, std::uint8_t& block);

// Reads the directory chain from block 253 (at most 13 blocks) into card.records.
void ReadDirectory(CardImage& card);
// Writes the entries of card.records along the directory chain; false when a block was not
// written (or the chain does not begin).
bool WriteDirectory(CardImage& card);
// Rebuilds the directory chain 253 ... 241 in memory unless FAT[254] and FAT[255] both end.
void RepairSystemChain(CardImage& card);

// The root's user-block count (low byte only).
std::uint8_t UserBlockCount(const CardImage& card);
// True for a formatted card: the root block starts with the format marker (16 bytes 0x55) and
// holds a user-block count of 1 to 241, and FAT entries 0 and 1 do not read "not formatted".
// Random bytes, an all-zero image or a root whose fields are out of range are not a card.
bool IsFormatted(const CardImage& card);
// Why IsFormatted is false, in a few English words ("" when the card is formatted).
std::string UnformattedReason(const CardImage& card);
// True when a directory entry holds a save (first block not 0, or a game).
bool HoldsSave(const DirEntry& entry);
// True for a game entry as the directory load sees it (type 0xCC, byte 0x03 zero).
bool IsGameEntry(const DirEntry& entry);

// A save's name for messages: bytes outside printable ASCII shown as '.'.
std::string PrintableName(const std::string& name);

// Rebuilds the listed saves (every record with a size, in index order) and the free-block
// count. Returns the free blocks as the free-block bar shows them: the user blocks less the
// listed sizes, 0 (never a wrapped number) when the sizes add up to more than the user blocks.
std::uint16_t UpdateListing(CardImage& card);

enum class LoadResult {
  kLoaded,       // root, FAT and directory read; listing and free-block count set
  kUnformatted,  // not a formatted card (see IsFormatted); only root and FAT were read
  kFailed,       // the root or FAT could not be read, or the link failed during the load
};

// Loads the card from its source, starting from a cleared model: root, FAT, system chain
// repair, directory with each save's header, listing. No block is read twice during one
// load; a CacheScope held by the caller extends that to what it reads next (icon frames).
LoadResult LoadCard(CardImage& card);

}  // namespace quorvel
