// Copy, single-save import, delete and format as whole operations: check, find room, then write.
#include "card/save_commands.h"

#include <algorithm>
#include <optional>

#include "card/card_check.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

bool Ask(const std::function<bool(const std::string&)>& question, const std::string& name) {
  return question && question(name);
}

// True when a store that ended with `error` wrote blocks to the target (a copy writes the
// block whose read failed too).
bool WroteBlocks(TransferError error) {
  return error == TransferError::kNone || error == TransferError::kReadFailed ||
         error == TransferError::kWriteFailed;
}

// Adds the held save (single-save layout, already checked) as a new save of the card.
void AddHeld(CardImage& card, std::span<const std::uint8_t> save_file, StoreResult& result) {
  const DciImportResult added = ImportDciBytes(card, save_file);
  result.file = added.file;
  result.error = added.placement;
  if (added.file == DciImportResult::File::kOk && WroteBlocks(added.placement)) {
    result.written = true;
  }
  if (added.Imported()) UpdateListing(card);
}

// The target has room for the new save beside the old one: the new save is stored whole
// (blocks, FAT, directory) before the old one is deleted, so that a failure at any step
// leaves at least one of them listed.
void StoreThenDeleteOld(CardImage& card, std::size_t old_index,
                        const std::function<void(StoreResult&)>& store, StoreResult& result) {
  store(result);
  if (!result.Stored()) return;
  result.replaced = true;
  if (!DeleteSave(card, old_index)) result.old_save_kept = true;
  UpdateListing(card);
}

// The new save only fits once the old one is gone, and the room for it was found on the card
// as it will be: the old save is deleted, then the held save stored.
void DeleteOldThenStore(CardImage& card, std::size_t old_index,
                        std::span<const std::uint8_t> save_file, StoreResult& result) {
  if (!DeleteSave(card, old_index)) {
    result.written = true;
    result.error = TransferError::kWriteFailed;
    return;
  }
  result.written = true;
  UpdateListing(card);
  AddHeld(card, save_file, result);
  result.replaced = result.Stored();
}

// Where a store of `size` blocks goes with the old save still there (true: room for both) or
// once it is gone (`error` says whether even that finds room).
bool RoomForBoth(const CardImage& card, std::size_t old_index, std::uint16_t size, bool game,
                 TransferError& error) {
  Placement unused;
  error = PlanPlacement(card, size, game, unused);
  if (error == TransferError::kNone) return true;
  error = PlanReplacement(card, old_index, size, game, unused);
  return false;
}

StoreResult CheckTarget(const CardImage& target) {
  StoreResult result;
  if (!IsFormatted(target)) {
    result.error = TransferError::kNotFormatted;
  } else if (UnsafeStructure(target)) {
    result.error = TransferError::kUnsafeCard;
  }
  return result;
}

}  // namespace

NameClashAnswers FixedAnswers(bool replace, bool add) {
  return {.replace = [replace](const std::string&) { return replace; },
          .add = [add](const std::string&) { return add; }};
}

std::string Describe(const StoreResult& result) {
  if (result.declined) return "a save of that name is already there";
  if (result.old_save_kept) {
    return "the new save was stored, but the old save of that name could not be deleted";
  }
  if (result.file != DciImportResult::File::kOk) return DescribeImport(result.AsImport());
  return std::string(Describe(result.error));
}

StoreResult CheckStore(const CardImage& target, std::span<const std::uint8_t> save_file) {
  StoreResult result = CheckTarget(target);
  if (result.error != TransferError::kNone) return result;
  result.file = CheckDciFile(save_file, result.entry_fault);
  return result;
}

SaveFileBytes ReadSaveFile(const std::filesystem::path& path) {
  SaveFileBytes read;
  std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kLargestDciFile);
  if (!bytes) {
    read.status = DciImportResult::File::kCannotRead;
  } else if (bytes->size() < kDciEntrySize) {
    read.status = DciImportResult::File::kTooShort;
  } else {
    read.bytes = std::move(*bytes);
  }
  return read;
}

StoreResult CopySaveCommand(CardImage& source, std::size_t index, CardImage& target,
                            const NameClashAnswers& answers) {
  StoreResult result;
  if (&source == &target) {
    result.error = TransferError::kSamePane;
    return result;
  }
  if (index >= kSaveRecords || source.records[index].size == 0) {
    result.error = TransferError::kNoSpace;  // no such save: size 0
    return result;
  }
  result = CheckTarget(target);
  if (result.error != TransferError::kNone) return result;
  const SaveRecord& save = source.records[index];
  JournalScope journal(target, {"copy", {JournalSaveName(save.name)}});
  if (!journal.Ok()) {
    result.error = TransferError::kWriteFailed;
    return result;
  }
  const auto copy = [&](StoreResult& into) {
    into.error = CopySave(source, index, target);
    into.written = WroteBlocks(into.error);
    if (into.error == TransferError::kNone) UpdateListing(target);
  };

  const std::optional<std::size_t> existing = FindSaveByName(target, save.name);
  if (!existing) {
    copy(result);
    return result;
  }
  if (!Ask(answers.replace, save.name)) {
    result.declined = true;
    return result;
  }
  if (RoomForBoth(target, *existing, save.size, save.header_in_second_block, result.error)) {
    StoreThenDeleteOld(target, *existing, copy, result);
    return result;
  }
  if (result.error != TransferError::kNone) return result;
  // The old save will be gone before the new one is written: the whole save is read from the
  // source first, so that a block that cannot be read deletes nothing.
  ShowCopyingStatus(target);
  std::vector<std::uint8_t> held;
  const DciExportError read = BuildDci(source, index, held);
  ReportProgress(source, 0, 0);
  if (read != DciExportError::kNone) {
    result.error = TransferError::kReadFailed;
    return result;
  }
  DeleteOldThenStore(target, *existing, held, result);
  return result;
}

StoreResult ImportSaveCommand(CardImage& card, std::span<const std::uint8_t> save_file,
                              const NameClashAnswers& answers) {
  StoreResult result = CheckStore(card, save_file);
  if (result.error != TransferError::kNone || result.file != DciImportResult::File::kOk) {
    return result;
  }
  DirEntry entry;
  std::copy_n(save_file.begin(), kDciEntrySize, entry.begin());
  const std::string name(entry.begin() + kEntryName, entry.begin() + kEntryName + kEntryNameSize);
  JournalScope journal(card, {"import", {JournalSaveName(name)}});
  if (!journal.Ok()) {
    result.error = TransferError::kWriteFailed;
    return result;
  }
  const auto add = [&](StoreResult& into) { AddHeld(card, save_file, into); };

  const std::optional<std::size_t> existing = FindSaveByName(card, name);
  if (!existing) {
    add(result);
    return result;
  }
  if (!Ask(answers.replace, name)) {
    if (Ask(answers.add, name)) {
      add(result);
    } else {
      result.declined = true;
    }
    return result;
  }
  const std::uint8_t size = entry[kEntrySize];
  if (RoomForBoth(card, *existing, size, IsGameEntry(entry), result.error)) {
    StoreThenDeleteOld(card, *existing, add, result);
  } else if (result.error == TransferError::kNone) {
    DeleteOldThenStore(card, *existing, save_file, result);
  }
  return result;
}

bool DeleteSavesCommand(CardImage& card, std::span<const std::size_t> indices) {
  for (std::size_t k = 0; k < indices.size(); ++k) {
    const std::size_t index = indices[k];
    if (index >= kSaveRecords || card.records[index].size == 0) return false;
    if (std::find(indices.begin(), indices.begin() + k, index) != indices.begin() + k) {
      return false;
    }
  }
  std::vector<std::string> names;
  for (std::size_t index : indices) names.push_back(JournalSaveName(card.records[index].name));
  JournalScope journal(card, {"delete", names});
  if (!journal.Ok()) return false;
  for (std::size_t index : indices) {
    if (!DeleteSave(card, index)) return false;
  }
  return true;
}

bool FormatCardCommand(CardImage& card, int user_blocks) {
  if (user_blocks != 200 && user_blocks != 240 && user_blocks != 241) return false;
  std::vector<std::uint8_t> blocks;  // every block a format writes
  for (int block = kLastDirectoryBlock; block <= kRootBlock; ++block) {
    blocks.push_back(static_cast<std::uint8_t>(block));
  }
  JournalScope journal(card, {"format", {}, CommandScale::kWholeCard}, blocks);
  return journal.Ok() && FormatCard(card, static_cast<std::uint8_t>(user_blocks));
}

}  // namespace quorvel
