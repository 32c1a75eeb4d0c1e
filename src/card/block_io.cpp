// Block I/O of the card sources: link retries, image file access, the 4-byte group reversal.
#include "card/block_io.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "card/slot_link.h"
#include "card/work_files.h"
#include "files/file_lock.h"
#include "files/input_file.h"
#include "host/messages.h"

namespace quorvel {
namespace {

// After a slot operation failed every attempt: the listeners hear that the link gave up (the
// window switches its automatic refresh off so that it does not restart on a broken link),
// and the user is told once.
void ReportLinkFailure(CardImage& card, std::string_view text) {
  if (card.env == nullptr) return;
  ReportLinkGaveUp(card.env->reports);
  if (card.env->messages != nullptr) card.env->messages->Inform(text);
}

bool SeekImage(CardImage& card, std::uint8_t block) {
  return card.image_file != nullptr &&
         std::fseek(card.image_file.get(), static_cast<long>(block) * kBlockSize, SEEK_SET) == 0;
}

// Calls `attempt` up to `attempts` times, with no pause, until it succeeds; after the last
// failure the link failure is reported. The card remembers the outcome for the load's tests.
template <typename Attempt>
bool RetrySlot(CardImage& card, int attempts, std::string_view failure_text, Attempt attempt) {
  SlotLink* link = card.env != nullptr ? card.env->link : nullptr;
  bool ok = false;
  for (int call = 0; link != nullptr && call < attempts && !ok; ++call) ok = attempt(*link);
  if (!ok) ReportLinkFailure(card, failure_text);
  card.link_failed = !ok;
  return ok;
}

bool ReadSlot(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer) {
  return RetrySlot(card, kSlotReadAttempts, kReadConnectionError,
                   [&](SlotLink& link) { return link.ReadSlotBlock(card.source, block, buffer); });
}

bool WriteSlot(CardImage& card, std::uint8_t block,
               std::span<const std::uint8_t, kBlockSize> buffer) {
  return RetrySlot(card, kSlotWriteAttempts, kWriteConnectionError,
                   [&](SlotLink& link) { return link.WriteSlotBlock(card.source, block, buffer); });
}

// A read past the end of a short file is not an error; the bytes it lacks stay as they were.
bool ReadImage(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer) {
  if (!SeekImage(card, block)) return false;
  std::fread(buffer.data(), 1, buffer.size(), card.image_file.get());
  bool ok = std::ferror(card.image_file.get()) == 0;
  std::clearerr(card.image_file.get());
  return ok;
}

bool WriteImage(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer) {
  if (card.image_read_only) {
    if (card.env != nullptr && card.env->messages != nullptr) {
      card.env->messages->Inform(ReadOnlyImageMessage(card.image_name));
    }
    errno = EROFS;
    return false;
  }
  if (!SeekImage(card, block)) return false;
  bool ok = std::fwrite(buffer.data(), 1, buffer.size(), card.image_file.get()) == buffer.size();
  ok = std::fflush(card.image_file.get()) == 0 && ok;
  std::clearerr(card.image_file.get());
  return ok;
}

}  // namespace

bool ReadBlock(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer) {
  if (card.cache.Lookup(block, buffer)) {
    if (card.IsSlot()) card.link_failed = false;
    return true;
  }
  const bool ok = card.IsSlot() ? ReadSlot(card, block, buffer) : ReadImage(card, block, buffer);
  if (ok) card.cache.Store(block, buffer);
  return ok;
}

bool WriteBlock(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer) {
  const bool ok = card.IsSlot() ? WriteSlot(card, block, buffer) : WriteImage(card, block, buffer);
  if (ok) {
    card.cache.Store(block, buffer);
  } else {
    card.cache.Forget(block);
  }
  return ok;
}

std::string ReadOnlyImageMessage(std::string_view file) {
  return " 檔案 " + std::string(file) + " 是唯讀檔案, 不能寫入. ";
}

void ReverseGroups(std::span<std::uint8_t, kBlockSize> buffer) {
  for (std::size_t i = 0; i < buffer.size(); i += 4) {
    std::reverse(buffer.begin() + i, buffer.begin() + i + 4);
  }
}

bool OpenImageFile(CardImage& card, const std::string& path, ImageAccess access,
                   ImageOpenError* error) {
  CloseImageFile(card);
  ImageOpenError unused;
  ImageOpenError& why = error != nullptr ? *error : unused;
  why = ImageOpenError::kCannotOpen;
  const bool writing = access == ImageAccess::kReadWrite;
  // A missing file is made whole beside its name and renamed into place, so that a full
  // disk leaves no short image and a dangling link planted at the name is not followed.
  if (writing && !std::filesystem::exists(path) &&
      !ReplaceFileContents(path, std::vector<std::uint8_t>(kImageFileSize, 0xFF))) {
    return false;
  }
  std::unique_ptr<std::FILE, FileCloser> file;
  bool read_only = !writing;
  if (writing) {
    file.reset(OpenRegularFile(path, /*for_writing=*/true).file.release());
    // A file that may not be written is still read; any other failure is no use.
    if (file == nullptr && errno != EACCES && errno != EROFS && errno != EPERM) return false;
    read_only = file == nullptr;
  }
  if (file == nullptr) file.reset(OpenRegularFile(path).file.release());
  if (file == nullptr) return false;
  if (!LockOpenFile(fileno(file.get()), read_only ? LockKind::kShared : LockKind::kExclusive)) {
    why = ImageOpenError::kInUse;
    return false;
  }
  card.image_file = std::move(file);
  card.image_open = true;
  card.image_read_only = read_only;
  card.image_name = path;
  why = ImageOpenError::kNone;
  return true;
}

void CloseImageFile(CardImage& card) {
  if (!card.image_open) return;
  card.image_file.reset();
  card.image_open = false;
}

}  // namespace quorvel
