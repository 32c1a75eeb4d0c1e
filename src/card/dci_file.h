// Single-save files (DCI): one save's 32-byte directory entry in logical order, then its blocks
// in chain order, in link order as the card holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_image.h"
#include "card/save_transfer.h"

namespace quorvel {

inline constexpr std::size_t kDciEntrySize = kDirEntrySize;

// Shown when a single-save file does not fit on the card.
inline constexpr std::string_view kNoSpaceMessage = "空間不足.";

constexpr std::size_t DciFileSize(std::size_t blocks) {
  return kDciEntrySize + blocks * kBlockSize;
}
// Larger than any single-save file: a size in blocks is one byte.
inline constexpr std::size_t kLargestDciFile = DciFileSize(256);

// The 12-character save name stored in a single-save file (bytes 4 to 15), nothing trimmed;
// nothing when the file cannot be read or is shorter than that.
std::optional<std::string> DciName(const std::filesystem::path& path);

enum class DciExportError {
  kNone,
  kNoSave,       // the directory slot holds no save
  kReadFailed,   // a block of the save could not be read
  kShortChain,   // the save's FAT chain ends before its size in blocks
  kCannotWrite,  // the file could not be written
  kCancelled,    // asked to stop while the save was read: no file was written
};
std::string_view Describe(DciExportError error);

// The file bytes of the save in directory slot `index`: its entry exactly as the card holds
// it, then its blocks unchanged.
DciExportError BuildDci(CardImage& card, std::size_t index, std::vector<std::uint8_t>& out);

// Writes BuildDci(...) to `path`. On any error the file is left as it was.
DciExportError ExportDci(CardImage& card, std::size_t index, const std::filesystem::path& path);

// Whether the entry of a single-save file describes a save a card can hold, so that what is
// stored is what the card can hold. A data save's first block is the card's to choose (both
// bytes of the field are set when it is stored), so any value there is accepted. Refused: a
// type other than data (0x33) or game (0xCC), a game whose first block is 256 or more (the
// console would look for it there), a size of 256 blocks or more, a header offset beyond the
// save. Returns why the entry is refused, "" when it may be stored.
std::string CheckDciEntry(const DirEntry& entry);

// Why an import did not add the save (all cases but kNone leave the card unchanged, except a
// block write that failed half-way: those blocks stay unused, FAT and directory unwritten).
struct DciImportResult {
  enum class File {
    kOk,
    kCannotRead,
    kTooShort,
    kBadEntry,  // the entry describes a save no card can hold (see CheckDciEntry)
  } file = File::kOk;
  TransferError placement = TransferError::kNone;
  std::string entry_fault = {};  // kBadEntry: why

  bool Imported() const { return file == File::kOk && placement == TransferError::kNone; }
};

// What is wrong with a single-save file before any card is looked at: too short to hold an
// entry, an entry no card can hold (why in `entry_fault`), or fewer blocks than its entry
// names. kOk when it can be stored on a card with room for it.
DciImportResult::File CheckDciFile(std::span<const std::uint8_t> file, std::string& entry_fault);

// Why an import was refused, in English (the account quorvel-cli gives).
std::string DescribeImport(const DciImportResult& result);

// Adds the save held in `file` (single-save file bytes) to `card`: a game (type 0xCC with
// first block 0) at blocks 0 upwards, a data save from the highest free block down; blocks,
// then FAT, then directory. A file shorter than its entry's size is refused first.
DciImportResult ImportDciBytes(CardImage& card, std::span<const std::uint8_t> file);
DciImportResult ImportDci(CardImage& card, const std::filesystem::path& path);

}  // namespace quorvel
