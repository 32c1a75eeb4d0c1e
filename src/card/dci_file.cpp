// Export and import of single-save files.
#include "card/dci_file.h"

#include <algorithm>

#include "card/block_io.h"
#include "card/cancel.h"
#include "card/card_check.h"
#include "card/file_system.h"
#include "card/work_files.h"

namespace quorvel {
std::optional<std::string> DciName(const std::filesystem::path& path) {
  const auto bytes = ReadFileBytes(path, kEntryName + kEntryNameSize);
  if (!bytes || bytes->size() < kEntryName + kEntryNameSize) return std::nullopt;
  return std::string(bytes->begin() + kEntryName, bytes->end());
}

std::string CheckDciEntry(const DirEntry& entry) {
  for (const EntryFinding& finding : CheckEntryFields(entry)) {
    if (finding.fault == EntryFault::kFirstBlock && entry[kEntryType] == kDataType) continue;
    return finding.text;
  }
  return "";
}

std::string_view Describe(DciExportError error) {
  switch (error) {
    case DciExportError::kNone:
      return "done";
    case DciExportError::kNoSave:
      return "no save in that directory slot";
    case DciExportError::kReadFailed:
      return "a block of the save could not be read";
    case DciExportError::kShortChain:
      return "the save's block chain is shorter than its size";
    case DciExportError::kCannotWrite:
      return "the file could not be written";
    case DciExportError::kCancelled:
      return "cancelled before anything was written";
  }
  return "";
}

DciExportError BuildDci(CardImage& card, std::size_t index, std::vector<std::uint8_t>& out) {
  if (index >= card.records.size() || card.records[index].size == 0) {
    return DciExportError::kNoSave;
  }
  const SaveRecord& save = card.records[index];
  out.assign(save.entry.begin(), save.entry.end());
  std::uint16_t block = save.first_block;
  for (int k = 0; k < save.size; ++k) {
    if (block >= kCardBlocks) return DciExportError::kShortChain;
    if (StopRequested(card)) {
      AcknowledgeStop(card, CancelOutcome::kNothingWritten);
      return DciExportError::kCancelled;
    }
    Block data;
    if (!ReadBlock(card, static_cast<std::uint8_t>(block), data)) {
      return DciExportError::kReadFailed;
    }
    out.insert(out.end(), data.begin(), data.end());
    block = card.fat[block];
    ReportProgress(card, k + 1, save.size);
  }
  return DciExportError::kNone;
}

DciExportError ExportDci(CardImage& card, std::size_t index, const std::filesystem::path& path) {
  std::vector<std::uint8_t> file;
  DciExportError error = BuildDci(card, index, file);
  ReportProgress(card, 0, 0);
  if (error != DciExportError::kNone) return error;
  return ReplaceFileContents(path, file) ? DciExportError::kNone : DciExportError::kCannotWrite;
}

std::string DescribeImport(const DciImportResult& result) {
  switch (result.file) {
    case DciImportResult::File::kCannotRead:
      return "the single-save file cannot be read";
    case DciImportResult::File::kTooShort:
      return "the single-save file is shorter than the blocks its entry names";
    case DciImportResult::File::kBadEntry:
      return "the single-save file's entry cannot be stored on a card: " + result.entry_fault;
    case DciImportResult::File::kOk:
      break;
  }
  return std::string(Describe(result.placement));
}

DciImportResult::File CheckDciFile(std::span<const std::uint8_t> file, std::string& entry_fault) {
  if (file.size() < kDciEntrySize) return DciImportResult::File::kTooShort;
  DirEntry entry;
  std::copy_n(file.begin(), kDciEntrySize, entry.begin());
  entry_fault = CheckDciEntry(entry);
  if (!entry_fault.empty()) return DciImportResult::File::kBadEntry;
  if (file.size() < DciFileSize(entry[kEntrySize])) return DciImportResult::File::kTooShort;
  return DciImportResult::File::kOk;
}

DciImportResult ImportDciBytes(CardImage& card, std::span<const std::uint8_t> file) {
  DciImportResult result;
  result.file = CheckDciFile(file, result.entry_fault);
  if (result.file != DciImportResult::File::kOk) return result;
  DirEntry entry;
  std::copy_n(file.begin(), kDciEntrySize, entry.begin());
  const std::uint8_t size = entry[kEntrySize];
  // Game or data by the test the directory load applies to the stored entry, so that the card
  // lists the save as what was stored: a game at block 0 (its entry then names block 0,
  // whatever the file said), every other entry a data save from the top down.
  const bool game = IsGameEntry(entry);
  // A damaged card is refused as such before its room is looked at (PlanPlacement).
  Placement placement;
  result.placement = PlanPlacement(card, size, game, placement);
  if (result.placement != TransferError::kNone) return result;

  ReportProgress(card, 0, size);
  for (std::size_t k = 0; k < placement.blocks.size(); ++k) {
    // Before each block: so far only free blocks were written, and the FAT and directory not.
    if (StopRequested(card)) {
      AcknowledgeStop(card,
                      k == 0 ? CancelOutcome::kNothingWritten : CancelOutcome::kNothingStored);
      result.placement = TransferError::kCancelled;
      break;
    }
    const auto data = file.subspan(DciFileSize(k)).first<kBlockSize>();
    if (!WriteBlock(card, placement.blocks[k], data)) {
      result.placement = TransferError::kWriteFailed;
      break;
    }
    ReportProgress(card, static_cast<int>(k + 1), size);
  }
  if (result.placement == TransferError::kNone) {
    ApplyPlacement(card, placement, entry, game);
    if (!WriteFatAndDirectory(card)) result.placement = TransferError::kWriteFailed;
  }
  ReportProgress(card, 0, 0);
  return result;
}

DciImportResult ImportDci(CardImage& card, const std::filesystem::path& path) {
  const auto file = ReadFileBytes(path, kLargestDciFile);
  if (!file) return DciImportResult{DciImportResult::File::kCannotRead};
  return ImportDciBytes(card, *file);
}

}  // namespace quorvel
