// Copy, single-save import, delete and format as whole operations: check, find room, then write.
#include "card/save_commands.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <functional>
#include <optional>

#include "card/cancel.h"
#include "card/card_check.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/save_texts.h"
#include "card/work_files.h"
#include "files/free_name.h"

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
// as it will be: the old save is deleted, then the held save stored. A request to stop is
// answered before the delete only: once the old save is gone the new one is stored whole.
void DeleteOldThenStore(CardImage& card, std::size_t old_index,
                        std::span<const std::uint8_t> save_file, StoreResult& result) {
  if (StopRequested(card)) {
    AcknowledgeStop(card, CancelOutcome::kNothingWritten);
    result.error = TransferError::kCancelled;
    return;
  }
  const CancelHold hold(card);
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

namespace {

SaveFileBytes VmsRefused(VmsError error, const std::filesystem::path& culprit) {
  SaveFileBytes read;
  read.status = DciImportResult::File::kCannotRead;
  read.vms_error = error;
  read.culprit = culprit;
  return read;
}

// The VMS named by a VMI, or beside which a VMI was found, with the VMI's word for it.
SaveFileBytes ReadPair(const std::filesystem::path& vms_path, const std::filesystem::path& vmi_path,
                       bool vms_given) {
  const auto vmi_bytes = ReadFileBytes(vmi_path, kVmiFileSize + 1);
  if (!vmi_bytes) return VmsRefused(VmsError::kCannotRead, vmi_path);
  VmsError error = VmsError::kNone;
  const std::optional<VmiInfo> info = ParseVmi(*vmi_bytes, error);
  if (!info) return VmsRefused(error, vmi_path);
  std::error_code code;
  if (!std::filesystem::exists(vms_path, code)) return VmsRefused(VmsError::kVmsMissing, vms_path);
  if (vms_given && !VmiNamesVms(*info, vms_path)) {
    return VmsRefused(VmsError::kNameMismatch, vmi_path);
  }
  const auto vms = ReadFileBytes(vms_path, (kLargestVmsBlocks + 1) * kBlockSize);
  if (!vms) return VmsRefused(VmsError::kCannotRead, vms_path);
  return SaveFileFromPair(*vmi_bytes, *vms, vmi_path, vms_path);
}

// The date a VMS without its VMI is stored with: its file's time of last change.
void StampFromFile(const std::filesystem::path& path, VmiInfo& info) {
  std::error_code code;
  const auto changed = std::filesystem::last_write_time(path, code);
  const std::time_t seconds =
      code ? std::time(nullptr)
           : std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(changed));
  std::tm local{};
  localtime_r(&seconds, &local);
  info.year = local.tm_year + 1900;
  info.month = local.tm_mon + 1;
  info.day = local.tm_mday;
  info.hour = local.tm_hour;
  info.minute = local.tm_min;
  info.second = std::min(local.tm_sec, 59);
  info.weekday = local.tm_wday;
}

// A VMS alone: what its VMI would have said comes from the file and the questions.
SaveFileBytes ReadLoneVms(const std::filesystem::path& path, const VmsQuestions& questions) {
  const auto vms = ReadFileBytes(path, (kLargestVmsBlocks + 1) * kBlockSize);
  if (!vms) return VmsRefused(VmsError::kCannotRead, path);
  VmiInfo stamped;
  StampFromFile(path, stamped);
  return SaveFileFromLoneVms(*vms, path, stamped, questions);
}

}  // namespace

SaveFileBytes SaveFileFromPair(std::span<const std::uint8_t> vmi, std::span<const std::uint8_t> vms,
                               const std::filesystem::path& vmi_path,
                               const std::filesystem::path& vms_path) {
  VmsError error = VmsError::kNone;
  const std::optional<VmiInfo> info = ParseVmi(vmi, error);
  if (!info) return VmsRefused(error, vmi_path);
  if (const VmsError size = CheckVmsSize(vms.size()); size != VmsError::kNone) {
    return VmsRefused(size, vms_path);
  }
  if (info->file_size != vms.size()) return VmsRefused(VmsError::kSizeMismatch, vmi_path);
  SaveFileBytes read;
  read.bytes = SaveFromVms(*info, vms);
  return read;
}

SaveFileBytes SaveFileFromLoneVms(std::span<const std::uint8_t> vms,
                                  const std::filesystem::path& path, const VmiInfo& stamped,
                                  const VmsQuestions& questions) {
  if (const VmsError size = CheckVmsSize(vms.size()); size != VmsError::kNone) {
    return VmsRefused(size, path);
  }
  VmiInfo info = stamped;
  const VmsKind kind = RecogniseVmsKind(vms);
  if (kind == VmsKind::kUnclear) {
    if (!questions.game) return VmsRefused(VmsError::kKindUnclear, path);
    const std::optional<bool> game = questions.game();
    if (!game) return VmsRefused(VmsError::kCancelled, path);
    info.game = *game;
  } else {
    info.game = kind == VmsKind::kGame;
  }
  const std::string suggested = TrimPadding(SaveNameFromFile(path));
  const std::optional<std::string> typed =
      questions.name ? questions.name(suggested) : std::optional<std::string>(suggested);
  if (!typed) return VmsRefused(VmsError::kCancelled, path);
  const std::optional<std::string> name = PaddedSaveName(*typed);
  if (!name) return VmsRefused(VmsError::kBadName, path);
  info.name = *name;
  SaveFileBytes read;
  read.bytes = SaveFromVms(info, vms);
  return read;
}

SaveFileBytes ReadSaveFile(const std::filesystem::path& path, const VmsQuestions& questions) {
  if (IsVmiPath(path)) {
    const auto vmi = ReadFileBytes(path, kVmiFileSize + 1);
    if (!vmi) return VmsRefused(VmsError::kCannotRead, path);
    VmsError error = VmsError::kNone;
    const std::optional<VmiInfo> info = ParseVmi(*vmi, error);
    if (!info) return VmsRefused(error, path);
    return ReadPair(VmsPathFor(path, info->resource), path, false);
  }
  if (IsVmsPath(path)) {
    const std::filesystem::path vmi = PartnerPath(path);
    std::error_code code;
    if (std::filesystem::exists(vmi, code)) return ReadPair(path, vmi, true);
    std::error_code exists_code;
    if (!std::filesystem::exists(path, exists_code)) return VmsRefused(VmsError::kVmsMissing, path);
    return ReadLoneVms(path, questions);
  }
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

std::string DescribeRead(const SaveFileBytes& read, const std::filesystem::path& path) {
  if (read.vms_error != VmsError::kNone) {
    return read.culprit.string() + ": " + std::string(Describe(read.vms_error));
  }
  std::error_code code;
  switch (read.status) {
    case DciImportResult::File::kOk:
      return "";
    case DciImportResult::File::kCannotRead:
      return path.string() +
             (std::filesystem::exists(path, code) ? ": cannot be read" : ": no such file");
    case DciImportResult::File::kTooShort:
    case DciImportResult::File::kBadEntry:
      break;
  }
  return path.string() + ": not a single-save file";
}

std::string Describe(const SaveExport& result) {
  if (result.save != DciExportError::kNone) return std::string(Describe(result.save));
  return std::string(Describe(result.pair));
}

std::vector<std::filesystem::path> ExportedFiles(const std::filesystem::path& path) {
  if (!IsVmsPath(path) && !IsVmiPath(path)) return {path};
  const std::filesystem::path vms = IsVmsPath(path) ? path : PartnerPath(path);
  return {vms, VmiPathFor(vms)};
}

SaveExport WriteSaveFile(std::span<const std::uint8_t> save_file,
                         const std::filesystem::path& path) {
  SaveExport result;
  const std::vector<std::filesystem::path> files = ExportedFiles(path);
  if (files.size() == 2) {
    const std::string base = files.front().stem().string();
    if (base.empty() || base.size() > kVmsResourceSize) {
      result.pair = VmsError::kResourceName;
      return result;
    }
  }
  DirEntry entry{};
  if (save_file.size() >= kDciEntrySize)
    std::copy_n(save_file.begin(), kDciEntrySize, entry.begin());
  if (save_file.size() < kDciEntrySize || !CheckDciEntry(entry).empty() ||
      save_file.size() < DciFileSize(entry[kEntrySize])) {
    result.save = DciExportError::kShortChain;
    return result;
  }
  const auto whole = save_file.first(DciFileSize(entry[kEntrySize]));
  if (files.size() == 2) {
    result.pair = WriteVmsPair(whole, files.front());
  } else if (!ReplaceFileContents(path, whole)) {
    result.save = DciExportError::kCannotWrite;
  }
  return result;
}

SaveExport ExportSaveFile(CardImage& card, std::size_t index, const std::filesystem::path& path) {
  const std::vector<std::filesystem::path> files = ExportedFiles(path);
  if (files.size() == 1) return {.save = ExportDci(card, index, path)};
  const std::string base = files.front().stem().string();
  if (base.empty() || base.size() > kVmsResourceSize) {
    return {.pair = VmsError::kResourceName};  // refused before the save is read
  }
  std::vector<std::uint8_t> save;
  SaveExport result{.save = BuildDci(card, index, save)};
  ReportProgress(card, 0, 0);
  if (result.save == DciExportError::kNone) result = WriteSaveFile(save, path);
  return result;
}

std::filesystem::path ExportPathFor(const std::filesystem::path& folder, const std::string& name,
                                    SaveFileFormat format, std::filesystem::path* first_choice) {
  std::string base = TrimPadding(name);
  for (char& c : base) {
    const auto byte = static_cast<unsigned char>(c);
    if (!(std::isalnum(byte) && byte < 0x80) && c != '_' && c != '-' && c != '.') c = '_';
  }
  // A name of dots only would name the folder itself or its parent.
  if (base.find_first_not_of('.') == std::string::npos) base = "SAVE";
  const bool pair = format == SaveFileFormat::kVms;
  const std::string extension = pair ? ".VMS" : ".DCI";
  const std::size_t longest = pair ? kVmsResourceSize : std::string::npos;
  if (first_choice != nullptr) {
    *first_choice = folder / (base.substr(0, std::min(base.size(), longest)) + extension);
  }
  // A VMS file comes with its VMI file, whose name must be free as well.
  const auto vmi_taken = [](const std::filesystem::path& path) {
    std::error_code code;
    return std::filesystem::exists(std::filesystem::symlink_status(VmiPathFor(path), code));
  };
  return FreeFileName(
      folder, base, extension, longest,
      pair ? std::function<bool(const std::filesystem::path&)>(vmi_taken) : nullptr);
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
  // Before anything else: a replace must not delete the old save for one it cannot store.
  if (!CheckDciEntry(source.records[index].entry).empty()) {
    result.error = TransferError::kBadEntry;
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
    result.error =
        read == DciExportError::kCancelled ? TransferError::kCancelled : TransferError::kReadFailed;
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
