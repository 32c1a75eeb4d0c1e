// One save's data as a working file in logical order, for the hex editor and the
// disassembler, and back over the save's blocks.
#include <cstdio>
#include <memory>
#include <vector>

#include "card/block_io.h"
#include "card/cancel.h"
#include "card/card_check.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/save_transfer.h"
#include "card/work_files.h"
#include "files/input_file.h"

namespace quorvel {
bool ReadSaveData(CardImage& card, std::size_t index, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (index >= kSaveRecords) return false;
  const SaveRecord& save = card.records[index];
  bool ok = true;
  std::uint16_t block = save.first_block;
  ReportProgress(card, 0, save.size);
  for (int step = 0; step < save.size && ok && block < kCardBlocks; ++step) {
    if (StopRequested(card)) {
      AcknowledgeStop(card, CancelOutcome::kNothingWritten);
      ok = false;
      break;
    }
    Block data;
    ok = ReadBlock(card, static_cast<std::uint8_t>(block), data);
    if (ok) {
      ReverseGroups(data);
      bytes.insert(bytes.end(), data.begin(), data.end());
    }
    block = card.fat[block];
    ReportProgress(card, step + 1, save.size);
  }
  ReportProgress(card, 0, 0);
  return ok;
}

// The file is written only when every block was read, through a new file beside it: a link
// planted at the working file's name is replaced, never followed.
bool ExportSaveData(CardImage& card, std::size_t index, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  return ReadSaveData(card, index, bytes) && ReplaceFileContents(path, bytes);
}

bool ImportSaveData(CardImage& card, std::size_t index, const std::string& path) {
  if (index >= kSaveRecords) return false;
  // A chain shared with another save would carry the edit into that save as well.
  if (UnsafeStructure(card)) return false;
  const InputFile input = OpenRegularFile(path);
  if (input.file == nullptr) return false;
  std::FILE* file = input.file.get();
  const SaveRecord& save = card.records[index];
  if (save.first_block == kRootBlock) return true;
  JournalScope journal(card, {"edit", {JournalSaveName(save.name)}});
  if (!journal.Ok()) return false;
  bool ok = true;
  std::uint16_t block = save.first_block;
  ReportProgress(card, 0, save.size);
  // Never past the save's size, never over the root, FAT or directory, never past the file.
  for (int step = 0; step < save.size && block < kLastDirectoryBlock; ++step) {
    Block data{};
    if (std::fread(data.data(), 1, data.size(), file) == 0) break;
    ReverseGroups(data);
    ok = WriteBlock(card, static_cast<std::uint8_t>(block), data) && ok;
    block = card.fat[block];
    ReportProgress(card, step + 1, save.size);
  }
  ReportProgress(card, 0, 0);
  return ok;
}

}  // namespace quorvel
