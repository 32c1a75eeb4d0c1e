// Operations that change what a card stores: copying a save between sources, deleting a save,
// formatting a card, the block allocation rules they share with single-save import, and the
// save's data as a working file for the hex editor and the disassembler.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_image.h"

namespace quorvel {

// Why an operation that stores a save did not.
enum class TransferError {
  kNone,
  kSamePane,             // source and target are the same card
  kNoSpace,              // size 0, or more blocks than the target's free-block count
  kGameBlocksInUse,      // a game must occupy blocks 0 ... size - 1 and one of them is taken
  kNotEnoughFreeBlocks,  // the FAT has fewer free blocks below the user-block count than needed
  kNoDirectorySlot,      // all 208 directory slots are in use
  kReadFailed,           // a block of the save could not be read from the source
  kWriteFailed,          // a block, the FAT or the directory could not be written to the target
  kNotFormatted,         // the target card is not formatted: it has no FAT to store a save in
  kUnsafeCard,  // the target's structure is damaged (UnsafeStructure): nothing is written to it
  kBadEntry,    // the save's directory entry is one no card may hold (CheckDciEntry): a copy
                // would carry it, and the card would then check dirty
  kCancelled,   // asked to stop: the target lists what it listed (see CancelOutcome)
};

// A short English sentence for the reason, for the command line and the logs of the tests.
std::string_view Describe(TransferError error);

// Where a save of a given size would go on a card; planning changes nothing on the card.
struct Placement {
  std::array<std::uint16_t, kCardBlocks> fat{};  // the card's FAT with the save's chain added
  std::vector<std::uint8_t> blocks;              // the allocated blocks in chain order
  std::size_t slot = 0;                          // the free directory slot
};

// The first listed save whose 12-character name equals `name` exactly, in list order.
std::optional<std::size_t> FindSaveByName(const CardImage& card, std::string_view name);
// The first directory slot whose size is 0.
std::optional<std::size_t> FindFreeDirectorySlot(const CardImage& card);

// Finds room for a save of `size` blocks: the space test against the free-block count, all
// blocks (a game from block 0 upwards, data from the top of the user blocks down) and a free
// directory slot. Everything is found before anything is taken. A card whose structure is
// unsafe to write (UnsafeStructure) gets kUnsafeCard, so no save is added to it.
TransferError PlanPlacement(const CardImage& card, std::uint16_t size, bool game, Placement& out);
// Takes the planned room in the model: the FAT, and `entry` in the planned directory slot
// with its first block set (both bytes; 0 for a game), its size and its name recorded.
void ApplyPlacement(CardImage& card, const Placement& placement, const DirEntry& entry, bool game);
// Writes the model's FAT, then its directory; false when either was not written.
bool WriteFatAndDirectory(CardImage& card);

// Shows "      複製中..." (copying) on the status label while a save is copied onto `target`.
void ShowCopyingStatus(CardImage& target);

// Copies the save in directory slot `index` of `source` to `target`: blocks, then the
// target's FAT and directory. On failure the target's model is left exactly as it was and
// its FAT and directory are not written (or, when the directory failed after the FAT, both
// are written back as they were).
TransferError CopySave(CardImage& source, std::size_t index, CardImage& target);
// The slot-to-slot entry point: direction 1 copies slot 1 -> slot 2, 0 copies slot 2 -> slot 1.
TransferError CopySave(int direction, std::size_t index, CardImage& slot1, CardImage& slot2);

// Frees the save's chain and its directory slot in the model only; false when the slot
// holds no save.
bool FreeSave(CardImage& card, std::size_t index);
// Plans the room a save would find once the save at `old_index` were deleted (a replace),
// without changing anything, so that a replace that cannot succeed deletes nothing.
TransferError PlanReplacement(const CardImage& card, std::size_t old_index, std::uint16_t size,
                              bool game, Placement& out);

// Frees the save's chain and its directory slot, then writes FAT and directory. False when
// there was nothing to delete, the card's structure is unsafe to write (nothing is written;
// UnsafeStructure names the fault) or the FAT or directory could not be written.
bool DeleteSave(CardImage& card, std::size_t index);

// Formats the card with 200, 240 or 241 user blocks. False when a write failed, or when it was
// asked to stop before its first write (it is not stopped once it writes).
bool FormatCard(CardImage& card, std::uint8_t user_blocks);

// The save's blocks in chain order and logical order, as a file (and back over the save;
// refused on a card whose structure is unsafe to write).
// The save's blocks in chain order (at most its size), each in logical order, as the working
// file holds them; false when a block could not be read or a request to stop was answered
// between blocks (`bytes` then holds those before it). The write back over the save is not
// stopped once it begins.
bool ReadSaveData(CardImage& card, std::size_t index, std::vector<std::uint8_t>& bytes);
bool ExportSaveData(CardImage& card, std::size_t index, const std::string& path);
bool ImportSaveData(CardImage& card, std::size_t index, const std::string& path);

}  // namespace quorvel
