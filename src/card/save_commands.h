// The card commands that change which saves a card holds, each as one whole operation used by
// the window and by quorvel-cli: copying a save and adding a single-save file (both with the
// answer to a save of the same name), deleting saves and formatting. Everything is read and
// checked, and the room for the new save found, before the first write; a replace never
// deletes the old save unless the new one is sure to find room.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "card/card_image.h"
#include "card/dci_file.h"
#include "card/save_transfer.h"

namespace quorvel {

// How the caller answers when the target already lists a save of the new save's name (the
// window asks the user, quorvel-cli answers from its options). Each gets that 12-character
// name. An empty answer counts as No.
struct NameClashAnswers {
  // Replace the old save by the new one?
  std::function<bool(const std::string& name)> replace;
  // Not replaced: add the new save beside the old one? (Single-save files only.)
  std::function<bool(const std::string& name)> add;
};

// The same answers for every name, as quorvel-cli's --replace and --add give them.
NameClashAnswers FixedAnswers(bool replace, bool add = false);

// What a store did.
struct StoreResult {
  // The single-save file could not be read or holds less than its entry names.
  DciImportResult::File file = DciImportResult::File::kOk;
  // Why the save was not stored (nothing written), or kReadFailed / kWriteFailed when a block
  // failed during the writing.
  TransferError error = TransferError::kNone;
  bool declined = false;  // a save of that name is there and every question was answered No
  bool replaced = false;  // the new save took the place of the old one
  bool written = false;   // something was written to the target: read it again to show it
  // The old save could not be deleted after the new one was stored: the card lists both.
  bool old_save_kept = false;
  std::string entry_fault = {};  // File::kBadEntry: why the entry cannot be stored

  bool Stored() const {
    return !declined && file == DciImportResult::File::kOk && error == TransferError::kNone;
  }
  // The file and placement parts, as the import's messages take them.
  DciImportResult AsImport() const { return {file, error, entry_fault}; }
};

// A short English sentence for a store that did not happen or went wrong half-way (a single-
// save import says "空間不足." for a lack of room: DescribeImport(result.AsImport())).
std::string Describe(const StoreResult& result);

// The one check every store goes through before its first write: the target card is one that
// may be written (formatted, its structure sound), the entry describes a save a card can hold
// and the single-save bytes are whole (an entry, and every block its size names). kNone / File::kOk
// when the store may go on to look for room.
StoreResult CheckStore(const CardImage& target, std::span<const std::uint8_t> save_file);

// A single-save file read whole: its bytes in the single-save layout (entry, then blocks in
// link order), or why it could not be read. Other single-save formats are read into the same
// layout, so that every store below takes them alike.
struct SaveFileBytes {
  DciImportResult::File status = DciImportResult::File::kOk;
  std::vector<std::uint8_t> bytes;
};
SaveFileBytes ReadSaveFile(const std::filesystem::path& path);

// Copies the save in directory slot `index` of `source` to `target`. When the target lists a
// save of that name, `answers.replace` decides; a replace reads the whole save from the
// source and finds its room before anything is written, stores the new save first when the
// target has room for both (then deletes the old one), and otherwise deletes the old save
// only once everything else is known to fit. On success the target's listing and free-block
// count include the new save, so that a following store sees it.
StoreResult CopySaveCommand(CardImage& source, std::size_t index, CardImage& target,
                            const NameClashAnswers& answers);

// Adds the save held in `save_file` (single-save layout) to `card`, with the same answers and
// the same order of writes as CopySaveCommand; `answers.add` may keep both saves.
StoreResult ImportSaveCommand(CardImage& card, std::span<const std::uint8_t> save_file,
                              const NameClashAnswers& answers);

// Deletes the saves in the given directory slots, one after another. Every slot is checked
// first (it holds a save, and is named once); false, with nothing deleted, when one is not,
// and false when a write failed (the saves before it are deleted). The card's listing is left
// as it was read, so that a pane's rows still map to their slots until it is refreshed.
bool DeleteSavesCommand(CardImage& card, std::span<const std::size_t> indices);

// Formats the card with 200, 240 or 241 user blocks; any other count is refused before
// anything is written. False when refused or a write failed.
bool FormatCardCommand(CardImage& card, int user_blocks);

}  // namespace quorvel
