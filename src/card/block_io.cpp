// Block I/O of the card sources: link retries, image file access, the 4-byte group reversal.
#include "card/block_io.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "card/messages.h"
#include "card/slot_link.h"
#include "link/settings.h"

namespace quorvel {
namespace {

// After a slot operation failed every attempt: the automatic refresh is switched off (the
// value only) so that it does not restart on a broken link, and the user is told once.
void ReportLinkFailure(CardImage& card, std::string_view text) {
  if (card.env == nullptr) return;
  if (card.env->settings != nullptr) card.env->settings->auto_refresh = 0;
  if (card.env->messages != nullptr) card.env->messages->Inform(text);
}

bool SeekImage(CardImage& card, std::uint8_t block) {
  return card.image_file != nullptr &&
         std::fseek(card.image_file.get(), static_cast<long>(block) * kBlockSize, SEEK_SET) == 0;
}

bool ReadSlot(CardImage& card, std::uint8_t block, std::span<std::uint8_t, kBlockSize> buffer) {
  SlotLink* link = card.env != nullptr ? card.env->link : nullptr;
  for (int attempt = 0; link != nullptr && attempt < kSlotReadAttempts; ++attempt) {
    if (link->ReadSlotBlock(card.source, block, buffer)) return true;
  }
  ReportLinkFailure(card, kReadConnectionError);
  return false;
}

bool WriteSlot(CardImage& card, std::uint8_t block,
               std::span<const std::uint8_t, kBlockSize> buffer) {
  SlotLink* link = card.env != nullptr ? card.env->link : nullptr;
  for (int attempt = 0; link != nullptr && attempt < kSlotWriteAttempts; ++attempt) {
    if (link->WriteSlotBlock(card.source, block, buffer)) return true;
  }
  ReportLinkFailure(card, kWriteConnectionError);
  return false;
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
  bool ok;
  if (card.IsSlot()) {
    ok = ReadSlot(card, block, buffer);
    card.link_failed = !ok;
  } else {
    ok = ReadImage(card, block, buffer);
  }
  if (ok) card.cache.Store(block, buffer);
  return ok;
}

bool WriteBlock(CardImage& card, std::uint8_t block,
                std::span<const std::uint8_t, kBlockSize> buffer) {
  bool ok;
  if (card.IsSlot()) {
    ok = WriteSlot(card, block, buffer);
    card.link_failed = !ok;
  } else {
    ok = WriteImage(card, block, buffer);
  }
  if (ok) {
    card.cache.Store(block, buffer);
  } else {
    card.cache.Forget(block);
  }
  return ok;
}

void ReverseGroups(std::span<std::uint8_t, kBlockSize> buffer) {
  for (std::size_t i = 0; i < buffer.size(); i += 4) {
    std::reverse(buffer.begin() + i, buffer.begin() + i + 4);
  }
}

bool OpenImageFile(CardImage& card, const std::string& path) {
  CloseImageFile(card);
  if (!std::filesystem::exists(path)) {
    std::unique_ptr<std::FILE, FileCloser> created(std::fopen(path.c_str(), "wb"));
    if (created == nullptr) return false;
    std::vector<std::uint8_t> scratch(16 * 1024, 0xFF);
    for (int i = 0; i < 8; ++i) {
      if (std::fwrite(scratch.data(), 1, scratch.size(), created.get()) != scratch.size()) {
        return false;
      }
    }
    if (std::fclose(created.release()) != 0) return false;
  }
  card.image_file.reset(std::fopen(path.c_str(), "r+b"));
  if (card.image_file == nullptr) return false;
  card.image_open = true;
  card.image_name = path;
  return true;
}

void CloseImageFile(CardImage& card) {
  if (!card.image_open) return;
  card.image_file.reset();
  card.image_open = false;
}

}  // namespace quorvel
