// Allocation, copying and deleting of saves.
#include "card/save_transfer.h"

#include <algorithm>

#include "card/block_io.h"
#include "card/cancel.h"
#include "card/card_check.h"
#include "card/card_texts.h"
#include "card/dci_file.h"
#include "card/file_system.h"

namespace quorvel {
namespace {

// A game occupies blocks 0, 1, ..., size - 1 in ascending order, all of which must be free.
TransferError AllocateGame(const CardImage& card, std::uint16_t size, Placement& out) {
  for (std::uint16_t i = 0; i < size; ++i) {
    if (card.fat[i] != kFatFree) return TransferError::kGameBlocksInUse;
    out.blocks.push_back(static_cast<std::uint8_t>(i));
  }
  return TransferError::kNone;
}

// A data save takes the highest free blocks below the user-block count, top down.
TransferError AllocateData(const CardImage& card, std::uint16_t size, Placement& out) {
  for (int block = UserBlockCount(card) - 1; block >= 0 && out.blocks.size() < size; --block) {
    if (card.fat[block] == kFatFree) out.blocks.push_back(static_cast<std::uint8_t>(block));
  }
  // A data entry whose first block is 0 reads as an empty directory slot, so a save that
  // would start at block 0 would vanish and leak its block: there is no room for it.
  if (out.blocks.size() < size || out.blocks.front() == 0) {
    return TransferError::kNotEnoughFreeBlocks;
  }
  return TransferError::kNone;
}

// Walks both chains together, copying each block unchanged (link order). Stops at the first
// block that could not be read or written; a source chain that ends before the save's size
// counts as a block that could not be read, so that no target block is left unwritten. A
// request to stop is answered before each block: only free blocks of the target have been
// written then, and its FAT and directory are not.
TransferError CopyBlocks(CardImage& source, std::uint8_t first_block, CardImage& target,
                         const std::vector<std::uint8_t>& blocks) {
  const int total = static_cast<int>(blocks.size());
  ReportProgress(target, 0, total);
  TransferError error = TransferError::kNone;
  std::uint16_t s = first_block;
  Block buffer{};
  for (int step = 0; step < total && error == TransferError::kNone; ++step) {
    if (StopRequested(target)) {
      AcknowledgeStop(target,
                      step == 0 ? CancelOutcome::kNothingWritten : CancelOutcome::kNothingStored);
      error = TransferError::kCancelled;
      break;
    }
    if (s >= kCardBlocks) {
      error = TransferError::kReadFailed;
      break;
    }
    bool read = ReadBlock(source, static_cast<std::uint8_t>(s), buffer);
    bool written = WriteBlock(target, blocks[step], buffer);
    if (!read) {
      error = TransferError::kReadFailed;
    } else if (!written) {
      error = TransferError::kWriteFailed;
    }
    s = source.fat[s];
    ReportProgress(target, step + 1, total);
  }
  ReportProgress(target, 0, 0);
  return error;
}

}  // namespace

std::string_view Describe(TransferError error) {
  switch (error) {
    case TransferError::kNone:
      return "done";
    case TransferError::kSamePane:
      return "source and target are the same card";
    case TransferError::kNoSpace:
      return "the save is empty or needs more blocks than the target has free";
    case TransferError::kGameBlocksInUse:
      return "a game must start at block 0, and the blocks it needs there are in use";
    case TransferError::kNotEnoughFreeBlocks:
      return "the target's FAT has fewer free user blocks than the save needs";
    case TransferError::kNoDirectorySlot:
      return "all 208 directory slots of the target are in use";
    case TransferError::kReadFailed:
      return "a block of the save could not be read";
    case TransferError::kWriteFailed:
      return "a block could not be written to the target";
    case TransferError::kNotFormatted:
      return "the target card is not formatted";
    case TransferError::kUnsafeCard:
      return "the card's structure is damaged, so nothing is written to it";
    case TransferError::kBadEntry:
      return "the save's directory entry is not one a card may hold";
    case TransferError::kCancelled:
      return "cancelled; the target lists the saves it listed";
  }
  return "unknown error";
}

std::optional<std::size_t> FindSaveByName(const CardImage& card, std::string_view name) {
  for (int k = 0; k < card.listed_count; ++k) {
    std::uint8_t index = card.list_order[k];
    if (index < kSaveRecords && card.records[index].name == name) return index;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindFreeDirectorySlot(const CardImage& card) {
  for (std::size_t i = 0; i < card.records.size(); ++i) {
    if (card.records[i].size == 0) return i;
  }
  return std::nullopt;
}

TransferError PlanPlacement(const CardImage& card, std::uint16_t size, bool game, Placement& out) {
  out = Placement{};
  if (UnsafeStructure(card)) return TransferError::kUnsafeCard;
  if (size == 0 || size > card.free_blocks) return TransferError::kNoSpace;
  TransferError error = game ? AllocateGame(card, size, out) : AllocateData(card, size, out);
  if (error != TransferError::kNone) return error;
  std::optional<std::size_t> slot = FindFreeDirectorySlot(card);
  if (!slot) return TransferError::kNoDirectorySlot;
  out.slot = *slot;
  out.fat = card.fat;
  for (std::size_t k = 0; k < out.blocks.size(); ++k) {
    out.fat[out.blocks[k]] = k + 1 < out.blocks.size() ? out.blocks[k + 1] : kFatLast;
  }
  return TransferError::kNone;
}

void ApplyPlacement(CardImage& card, const Placement& placement, const DirEntry& entry, bool game) {
  card.fat = placement.fat;
  SaveRecord& record = card.records[placement.slot];
  record.entry = entry;
  // A game's entry must name block 0 too, even when the source's entry said otherwise. The
  // field has two bytes: a high byte left from the source would name a block past the card.
  record.entry[kEntryFirstBlock] = game ? 0 : placement.blocks.front();
  record.entry[kEntryFirstBlock + 1] = 0;
  record.first_block = record.entry[kEntryFirstBlock];
  record.size = static_cast<std::uint16_t>(placement.blocks.size());
  // What a following store looks up by name before the card is read again.
  record.name.assign(entry.begin() + kEntryName, entry.begin() + kEntryName + kEntryNameSize);
  record.header_in_second_block = game;
}

void ShowCopyingStatus(CardImage& target) {
  if (target.env != nullptr) ReportStatus(target.env->reports, kCopyingStatusText);
}

bool WriteFatAndDirectory(CardImage& card) {
  WriteFat(card);
  if (card.io_error) return false;
  return WriteDirectory(card);
}

TransferError CopySave(CardImage& source, std::size_t index, CardImage& target) {
  if (&source == &target) return TransferError::kSamePane;
  if (index >= kSaveRecords) return TransferError::kNoSpace;  // no such save: size 0
  const SaveRecord& save = source.records[index];
  // The entry is stored as it is: one a single-save import refuses is refused here too.
  if (save.size != 0 && !CheckDciEntry(save.entry).empty()) return TransferError::kBadEntry;
  ShowCopyingStatus(target);
  const bool game = save.header_in_second_block;
  Placement placement;
  TransferError error = PlanPlacement(target, save.size, game, placement);
  if (error == TransferError::kNone) {
    error = CopyBlocks(source, save.first_block, target, placement.blocks);
  }
  if (error != TransferError::kNone) return error;

  const std::array<std::uint16_t, kCardBlocks> old_fat = target.fat;
  const SaveRecord old_record = target.records[placement.slot];
  ApplyPlacement(target, placement, save.entry, game);
  const auto restore_model = [&] {
    target.fat = old_fat;
    target.records[placement.slot] = old_record;
  };
  WriteFat(target);
  if (target.io_error) {
    restore_model();
    return TransferError::kWriteFailed;
  }
  if (WriteDirectory(target)) return TransferError::kNone;
  // The FAT already holds the new chain: put the old FAT and directory back, so that the card
  // keeps no blocks taken for a save it does not list (as far as the card still takes writes).
  restore_model();
  if (WriteFatAndDirectory(target)) target.io_error = false;
  return TransferError::kWriteFailed;
}

TransferError CopySave(int direction, std::size_t index, CardImage& slot1, CardImage& slot2) {
  return direction == 1 ? CopySave(slot1, index, slot2) : CopySave(slot2, index, slot1);
}

bool FreeSave(CardImage& card, std::size_t index) {
  if (index >= kSaveRecords || card.records[index].size == 0) return false;
  SaveRecord& save = card.records[index];
  // The walk frees at most `size` blocks and never a block of the root, FAT or directory,
  // whatever a damaged chain says.
  int remaining = save.size;
  std::uint16_t block = save.first_block;
  std::uint16_t next = card.fat[block];
  while (block < kLastDirectoryBlock && next < kLastDirectoryBlock && remaining > 0) {
    card.fat[block] = kFatFree;
    block = next;
    next = card.fat[next];
    --remaining;
  }
  if (next == kFatLast && block < kLastDirectoryBlock) card.fat[block] = kFatFree;
  save.entry.fill(0);
  save.size = 0;
  return true;
}

bool DeleteSave(CardImage& card, std::size_t index) {
  if (index >= kSaveRecords || card.records[index].size == 0) return false;
  // On a cross-linked card freeing this chain would hand another save's blocks to the next.
  if (UnsafeStructure(card)) return false;
  const std::array<std::uint16_t, kCardBlocks> old_fat = card.fat;
  const SaveRecord old_record = card.records[index];
  FreeSave(card, index);
  // The directory goes first: a card pulled between the two writes then keeps blocks that no
  // save lists (the check reports them), never a listed save whose blocks are free for the
  // next save to take.
  if (WriteDirectory(card)) {
    WriteFat(card);
    if (!card.io_error) return true;
  }
  // List the save again as far as the card still takes writes; its blocks were never freed.
  card.fat = old_fat;
  card.records[index] = old_record;
  WriteDirectory(card);
  card.io_error = true;
  return false;
}

TransferError PlanReplacement(const CardImage& card, std::size_t old_index, std::uint16_t size,
                              bool game, Placement& out) {
  if (UnsafeStructure(card)) return TransferError::kUnsafeCard;
  if (old_index >= kSaveRecords) return PlanPlacement(card, size, game, out);
  CardImage after(card.source);
  after.root = card.root;
  after.fat = card.fat;
  after.records = card.records;
  after.free_blocks = static_cast<std::uint8_t>(card.free_blocks + card.records[old_index].size);
  FreeSave(after, old_index);
  return PlanPlacement(after, size, game, out);
}

}  // namespace quorvel
