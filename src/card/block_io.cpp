// Block I/O through a card's source, opening and closing image files, the 4-byte group reversal.
#include "card/block_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "card/card_texts.h"
#include "card/journal.h"
#include "card/slot_link.h"
#include "card/work_files.h"
#include "files/file_lock.h"
#include "files/input_file.h"
#include "host/messages.h"

namespace quorvel {
namespace {

// The byte order of the open image file: recognised from its root block, else its name's.
ImageOrder StoredOrder(std::FILE* file, const std::filesystem::path& path) {
  Block root;
  const bool read = std::fseek(file, long{kRootBlock} * kBlockSize, SEEK_SET) == 0 &&
                    std::fread(root.data(), 1, root.size(), file) == root.size();
  std::clearerr(file);
  if (!read) return OrderForName(path);
  return RecogniseOrder(root, path).order;
}

// Writes the block (in the card's own order) and, when `verify`, reads it back from the
// source itself (never from the cache): a block that reads back different is written again,
// as often as a failed slot write is tried, and then reported with its number.
bool WriteVerified(CardImage& card, std::uint8_t block,
                   std::span<const std::uint8_t, kBlockSize> data, bool verify) {
  BlockSource& source = *card.blocks;
  if (!verify) return source.Write(block, data);
  for (int attempt = 0; attempt < kSlotWriteAttempts; ++attempt) {
    if (!source.Write(block, data)) return false;
    Block back;
    if (!source.Read(block, back)) return false;
    if (std::equal(back.begin(), back.end(), data.begin())) return true;
  }
  if (card.env != nullptr && card.env->messages != nullptr) {
    card.env->messages->Inform(VerifyFailureMessage(block));
  }
  return false;
}

}  // namespace

std::string VerifyFailureMessage(int block) {
  return FillText(kVerifyFailureText, {std::to_string(block)});
}

bool ReadBlock(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer) {
  bool ok = false;
  if (card.blocks != nullptr) {
    BlockSource& source = *card.blocks;
    ok = source.cache().Lookup(block, buffer);
    if (!ok) {
      ok = source.Read(block, buffer);
      if (ok) source.cache().Store(block, buffer);
    }
  }
  if (card.IsSlot()) card.link_failed = !ok;
  if (ok) ReverseGroups(buffer);  // the card's own order -> link order
  return ok;
}

bool WriteBlock(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer) {
  Journal* journal = card.env != nullptr ? card.env->journal : nullptr;
  if (journal != nullptr && !journal->Active(card)) {
    // A write outside any command is still recorded, as a command of its own.
    JournalScope single(card, {"write block " + std::to_string(block), {}});
    return single.Ok() && WriteBlock(card, block, buffer);
  }
  if (journal != nullptr && !journal->BeforeWrite(card, block, buffer)) return false;
  bool ok = false;
  if (card.blocks != nullptr) {
    Block logical;
    std::copy(buffer.begin(), buffer.end(), logical.begin());
    ReverseGroups(logical);
    ok = WriteVerified(card, block, logical, journal != nullptr && journal->Verifying(card));
    if (ok) {
      card.blocks->cache().Store(block, logical);
    } else {
      card.blocks->cache().Forget(block);
    }
  }
  if (journal != nullptr) journal->AfterWrite(card, block, buffer, ok);
  if (card.IsSlot()) card.link_failed = !ok;
  return ok;
}

void ReverseGroups(std::span<std::uint8_t, kBlockSize> buffer) {
  // Every block read and write goes through here, several times for a save's header: the
  // whole block as one vector of its 128 groups, each turned end for end by shifts and masks.
  // No loop and no pointer step per group, which the fuzz build would check and trace each.
  using Groups = std::uint32_t __attribute__((vector_size(kBlockSize)));
  Groups groups;
  std::memcpy(&groups, buffer.data(), sizeof groups);
  groups = groups << 24 | (groups & 0xFF00) << 8 | (groups >> 8 & 0xFF00) | groups >> 24;
  std::memcpy(buffer.data(), &groups, sizeof groups);
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
  FilePtr file;
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
  const ImageOrder order = StoredOrder(file.get(), path);
  card.blocks =
      std::make_unique<ImageFileBlocks>(std::move(file), path, order, read_only, card.env);
  why = ImageOpenError::kNone;
  return true;
}

void CloseImageFile(CardImage& card) {
  if (card.ImageOpen()) card.blocks.reset();
}

CacheScope::CacheScope(CardImage& card) : card_(card), source_(card.blocks.get()) {
  if (source_ != nullptr) source_->cache().Begin();
}

CacheScope::~CacheScope() {
  // A source replaced meanwhile (another image opened) took its cache with it.
  if (source_ != nullptr && card_.blocks.get() == source_) source_->cache().End();
}

}  // namespace quorvel
