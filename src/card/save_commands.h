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
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "card/card_image.h"
#include "card/dci_file.h"
#include "card/save_transfer.h"
#include "card/vms_file.h"

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
// save import says why in English: DescribeImport(result.AsImport())).
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
  // A VMS/VMI pair that could not be read (status is then kCannotRead), and the file of the
  // pair the reason is about.
  VmsError vms_error = VmsError::kNone;
  std::filesystem::path culprit = {};
};

// What a VMS file without its VMI needs from the caller in place of the VMI. An empty function
// takes the suggestion (the name) or refuses (kKindUnclear); an empty answer cancels.
struct VmsQuestions {
  // The save's name on the card; `suggested` is made from the file's name.
  std::function<std::optional<std::string>(const std::string& suggested)> name;
  // True for a game, false for data; asked only when the VMS does not tell.
  std::function<std::optional<bool>()> game;
};

// Reads a single-save file: a DCI file, or a VMS/VMI pair named by either of its files (a
// VMI names its VMS; a VMS finds the VMI of the same base name beside it, and without one
// `questions` stand in for it). Every file is checked before a card is touched: sizes, the
// VMI's checksum, and that the VMI and its VMS agree on the VMS's name and size.
SaveFileBytes ReadSaveFile(const std::filesystem::path& path, const VmsQuestions& questions = {});

// What ReadSaveFile does with the bytes of a VMS/VMI pair once both files are read: the VMI
// parsed and its checksum checked, the VMS whole blocks a card can hold, and the VMI giving
// the VMS's size. `vmi_path` and `vms_path` name the culprit of a refusal.
SaveFileBytes SaveFileFromPair(std::span<const std::uint8_t> vmi, std::span<const std::uint8_t> vms,
                               const std::filesystem::path& vmi_path,
                               const std::filesystem::path& vms_path);

// The same for a VMS read without its VMI: game or data from the VMS (or `questions.game`),
// the name `questions.name` gives (or one made from `path`), the date from `stamped`.
SaveFileBytes SaveFileFromLoneVms(std::span<const std::uint8_t> vms,
                                  const std::filesystem::path& path, const VmiInfo& stamped,
                                  const VmsQuestions& questions = {});

// One English line on why ReadSaveFile refused `path` ("" when it did not).
std::string DescribeRead(const SaveFileBytes& read, const std::filesystem::path& path);

// What an export of one save to a single-save file did.
struct SaveExport {
  DciExportError save = DciExportError::kNone;  // reading the save, or writing a DCI file
  VmsError pair = VmsError::kNone;              // writing a VMS/VMI pair

  bool Written() const { return save == DciExportError::kNone && pair == VmsError::kNone; }
};
std::string Describe(const SaveExport& result);

// The files an export to `path` writes: the VMS and the VMI of a pair when `path` ends in
// .vms or .vmi (the base name is the pair's; the other file's extension follows its case),
// else `path` itself as a DCI file.
std::vector<std::filesystem::path> ExportedFiles(const std::filesystem::path& path);

// Writes a save held in single-save layout (as ReadSaveFile gives it) as the single-save
// file(s) ExportedFiles names for `path`: a DCI file of the entry and its blocks, or a VMS/VMI
// pair. A save whose entry no card can hold, or that lacks blocks its entry names, is refused
// (kShortChain) before anything is written.
SaveExport WriteSaveFile(std::span<const std::uint8_t> save_file,
                         const std::filesystem::path& path);

// Writes the save in directory slot `index` as the single-save file(s) ExportedFiles names.
// The whole save is read before anything is written; a file is replaced only whole.
SaveExport ExportSaveFile(CardImage& card, std::size_t index, const std::filesystem::path& path);

// The two kinds of single-save file a save is written as.
enum class SaveFileFormat { kDci, kVms };

// A name for a new single-save file of the save named `name` in `folder`, so that exporting
// many saves writes no file over another: the name without its padding, each byte other than
// a letter, digit, '_', '-' or '.' as '_' ("SAVE" when nothing is left; a VMS base name cut to
// 8 bytes), then ".DCI" or ".VMS". When that file (or the VMI of the pair) exists, "_2", "_3"
// ... go before the extension until neither does; `first_choice`, when given, receives the
// name tried first.
std::filesystem::path ExportPathFor(const std::filesystem::path& folder, const std::string& name,
                                    SaveFileFormat format,
                                    std::filesystem::path* first_choice = nullptr);

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
// anything is written. False when refused, stopped on request before its first write (see
// FormatCard) or a write failed.
bool FormatCardCommand(CardImage& card, int user_blocks);

}  // namespace quorvel
