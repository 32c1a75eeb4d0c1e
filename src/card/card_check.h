// A consistency check of a loaded card: root fields, the system chain, every save's FAT chain
// against its directory size, cross-linked, lost and looping blocks, and directory entries the
// card cannot hold. It also decides whether the card's structure is safe to write to.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "card/card_image.h"

namespace quorvel {

// One thing the check found.
struct CardFinding {
  enum class Kind {
    kNote,     // not a problem: something the console ignores, said once for information
    kProblem,  // the card is inconsistent, but saves can be added and deleted safely
    kUnsafe,   // a write could destroy other saves: writes to the card are refused
  };
  Kind kind = Kind::kProblem;
  std::string text;
};

// Fields of a directory entry that a card cannot hold as they stand: the console reads the
// first block, the size and the header offset as 16-bit numbers and knows only two types.
enum class EntryFault {
  kType,          // neither data (0x33) nor game (0xCC)
  kFirstBlock,    // 256 or more: no block of the card
  kSize,          // 256 blocks or more (this program reads the low byte only)
  kHeaderOffset,  // beyond the save's blocks (an offset equal to the size, as some save tools
                  // write it, is accepted)
};
struct EntryFinding {
  EntryFault fault;
  std::string text;  // e.g. "type 0x00 is neither data (0x33) nor game (0xCC)"
};
std::vector<EntryFinding> CheckEntryFields(const DirEntry& entry);

// Everything the check finds on the model of a card loaded by LoadCard, in the order found.
std::vector<CardFinding> InspectCard(const CardImage& card);

// One line per problem found (notes left out); empty when the card is consistent.
std::vector<std::string> CheckCard(const CardImage& card);

// Why nothing may be written to the card (a cross-linked chain, a directory chain that runs
// into user blocks, a directory block marked free, a root whose FAT or directory location or
// size is not the card format's): the first such fault, or nothing when writes are safe.
// Every operation that adds or deletes a save asks this before it writes.
std::optional<std::string> UnsafeStructure(const CardImage& card);

}  // namespace quorvel
