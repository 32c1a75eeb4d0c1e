// Card image dumps, restores and new images.
#include "card/dcm_file.h"

#include <algorithm>
#include <vector>

#include "card/block_io.h"
#include "card/cancel.h"
#include "card/card_texts.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/work_files.h"

namespace quorvel {

std::string_view Describe(DcmError error) {
  switch (error) {
    case DcmError::kNone:
      return "done";
    case DcmError::kCannotOpen:
      return "the file cannot be opened";
    case DcmError::kWrongSize:
      return "a card image file must hold exactly 131072 bytes";
    case DcmError::kTemplateShort:
      return "the template image holds fewer than 131072 bytes";
    case DcmError::kCardReadFailed:
      return "a block of the card could not be read";
    case DcmError::kCardWriteFailed:
      return "a block of the card could not be written";
    case DcmError::kCannotWrite:
      return "the file could not be written";
    case DcmError::kUnknownOrder:
      return "its root block reads as a card's neither in card order nor in DCM order";
    case DcmError::kNotRecorded:
      return "the journal of card writes could not be written";
    case DcmError::kCancelled:
      return "cancelled";
  }
  return "";
}

std::string UnsupportedImageMessage(std::string_view name, bool loading_into_slot) {
  return FillText(loading_into_slot ? kUnsupportedImageIntoSlotText : kUnsupportedImageText,
                  {name});
}

std::string InvalidTemplateMessage(std::string_view path) {
  return FillText(kInvalidTemplateText, {path});
}

namespace {

constexpr std::size_t kRootOffset = std::size_t{kRootBlock} * kBlockSize;
constexpr std::size_t kFatOffset = std::size_t{kFatBlock} * kBlockSize;

// Reads the whole image file at `path` and recognises its byte order.
DcmError LoadImageFile(const std::filesystem::path& path, std::vector<std::uint8_t>& image,
                       ImageOrder& order) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return DcmError::kCannotOpen;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return DcmError::kCannotOpen;
  if (size != kImageFileSize) return DcmError::kWrongSize;
  auto bytes = ReadFileBytes(path, kImageFileSize);
  if (!bytes || bytes->size() != kImageFileSize) return DcmError::kCannotOpen;
  const RecognisedOrder recognised =
      RecogniseOrder(std::span(*bytes).subspan(kRootOffset).first<kBlockSize>(), path);
  if (!recognised.Recognised()) return DcmError::kUnknownOrder;
  image = std::move(*bytes);
  order = recognised.order;
  return DcmError::kNone;
}

// Whether the journal keeps the old contents of the blocks the running command writes, so that
// a whole-card command stopped half-way can write them back.
bool JournalKeepsOldBlocks(const CardImage& card) {
  return card.env != nullptr && card.env->journal != nullptr && card.env->journal->Options().record;
}

// Writes back the old blocks of the last command recorded for the card (one stopped half-way),
// checking first that the card holds what it wrote; nothing stops that.
CancelOutcome PutBackStopped(CardImage& card) {
  const CancelHold hold(card);
  const UndoResult undone = UndoCommands(card, *card.env->journal);
  return undone.outcome == UndoResult::Outcome::kDone ? CancelOutcome::kPutBack
                                                      : CancelOutcome::kNotPutBack;
}

}  // namespace

DcmError CheckImageFile(const std::filesystem::path& path, ImageOrder* order) {
  std::vector<std::uint8_t> image;
  ImageOrder found = ImageOrder::kLink;
  const DcmError error = LoadImageFile(path, image, found);
  if (error == DcmError::kNone && order != nullptr) *order = found;
  return error;
}

DcmError ReadCardImage(const std::filesystem::path& path, ImageOrder order,
                       std::vector<std::uint8_t>& image) {
  ImageOrder found = ImageOrder::kLink;
  const DcmError error = LoadImageFile(path, image, found);
  if (error == DcmError::kNone) ConvertImageOrder(image, found, order);
  return error;
}

DcmError WriteCardImage(const std::filesystem::path& path, std::vector<std::uint8_t> image,
                        ImageOrder order) {
  ConvertImageOrder(image, order, OrderForName(path));
  return ReplaceFileContents(path, image) ? DcmError::kNone : DcmError::kCannotWrite;
}

DcmError ConvertCardImage(const std::filesystem::path& in, const std::filesystem::path& out) {
  std::vector<std::uint8_t> image;
  const DcmError error = ReadCardImage(in, ImageOrder::kCard, image);
  return error != DcmError::kNone ? error
                                  : WriteCardImage(out, std::move(image), ImageOrder::kCard);
}

std::string ImageFormatProblem(const std::filesystem::path& path) {
  std::vector<std::uint8_t> image;
  if (ReadCardImage(path, ImageOrder::kCard, image) != DcmError::kNone) {
    return "the file cannot be read";
  }
  CardImage card;
  std::copy_n(image.begin() + kRootOffset, kBlockSize, card.root.begin());
  DecodeFat(std::span(image).subspan(kFatOffset).first<kBlockSize>(), card.fat);
  return UnformattedReason(card);
}

DcmError DumpCardToFile(CardImage& card, const std::filesystem::path& path) {
  std::vector<std::uint8_t> image(kImageFileSize);
  DcmError error = DcmError::kNone;
  ReportProgress(card, 0, kCardBlocks - 1);
  for (int block = 0; block < kCardBlocks && error == DcmError::kNone; ++block) {
    if (StopRequested(card)) {
      AcknowledgeStop(card, CancelOutcome::kNothingWritten);
      error = DcmError::kCancelled;
      break;
    }
    const auto data = std::span(image).subspan(block * kBlockSize).first<kBlockSize>();
    if (!ReadBlock(card, static_cast<std::uint8_t>(block), data)) error = DcmError::kCardReadFailed;
    ReportProgress(card, block, kCardBlocks - 1);
  }
  if (error == DcmError::kNone) error = WriteCardImage(path, std::move(image), ImageOrder::kLink);
  ReportProgress(card, 0, 0);
  return error;
}

DcmError RestoreCardFromFile(CardImage& card, const std::filesystem::path& path) {
  std::vector<std::uint8_t> image;
  if (DcmError read = ReadCardImage(path, ImageOrder::kLink, image); read != DcmError::kNone) {
    return read;
  }
  std::vector<std::uint8_t> every_block(kCardBlocks);
  for (int block = 0; block < kCardBlocks; ++block) every_block[block] = block;
  DcmError error = DcmError::kNone;
  int written = 0;  // blocks written when a request to stop was answered
  {
    JournalScope journal(
        card, {"restore " + path.filename().string(), {}, CommandScale::kWholeCard}, every_block);
    if (!journal.Ok()) return DcmError::kNotRecorded;
    const bool can_put_back = JournalKeepsOldBlocks(card);
    ReportProgress(card, 0, kCardBlocks - 1);
    for (int block = 0; block < kCardBlocks && error == DcmError::kNone; ++block) {
      if (StopRequested(card) && (block == 0 || can_put_back)) {
        journal.Failed();
        written = block;
        error = DcmError::kCancelled;
        break;
      }
      const auto data = std::span(image).subspan(block * kBlockSize).first<kBlockSize>();
      if (!WriteBlock(card, static_cast<std::uint8_t>(block), data)) {
        error = DcmError::kCardWriteFailed;
      }
      ReportProgress(card, block, kCardBlocks - 1);
    }
    ReportProgress(card, 0, 0);
  }
  if (error == DcmError::kCancelled) {
    // The journal's record of the restore has ended: its old blocks go back as an undo.
    AcknowledgeStop(card, written == 0 ? CancelOutcome::kNothingWritten : PutBackStopped(card));
  }
  return error;
}

DcmError CreateImageFromTemplate(const std::filesystem::path& template_path,
                                 const std::filesystem::path& path) {
  const auto image = ReadFileBytes(template_path, kImageFileSize);
  if (!image) return DcmError::kCannotOpen;
  if (image->size() < kImageFileSize) return DcmError::kTemplateShort;
  // The template is a DCM file; its root block tells when it is not.
  const RecognisedOrder recognised =
      RecogniseOrder(std::span(*image).subspan(kRootOffset).first<kBlockSize>(), template_path);
  const ImageOrder order =
      recognised.found_by == OrderSource::kRootBlock ? recognised.order : ImageOrder::kLink;
  return WriteCardImage(path, std::move(*image), order);
}

std::filesystem::path DataFolderOfProgram(const std::filesystem::path& executable) {
  if (executable.empty()) return {};
  return (executable.parent_path() / QUORVEL_DATA_FROM_BIN).lexically_normal();
}

std::filesystem::path ProgramDataFolder() {
  // The running program's own file, with every link resolved: a link to the program (say
  // in ~/bin) still leads to the data folder of the installation it belongs to.
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : DataFolderOfProgram(executable);
}

std::filesystem::path FindProgramDataFile(const std::filesystem::path& work_dir,
                                          std::string_view name) {
  const std::filesystem::path local = work_dir / name;
  std::error_code error;
  if (std::filesystem::exists(local, error)) return local;
  const std::filesystem::path folder = ProgramDataFolder();
  if (!folder.empty()) {
    const std::filesystem::path shipped = folder / name;
    if (std::filesystem::exists(shipped, error)) return shipped;
  }
  return local;
}

}  // namespace quorvel
