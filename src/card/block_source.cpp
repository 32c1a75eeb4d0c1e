// The card sources: the link's slots with their retries, and image files in either order.
#include "card/block_source.h"

#include <algorithm>
#include <cerrno>

#include "card/block_io.h"
#include "card/card_image.h"
#include "card/card_texts.h"
#include "card/slot_link.h"
#include "host/messages.h"

namespace quorvel {
namespace {

// Calls `attempt` up to `attempts` times, with no pause, until it succeeds. After the last
// failure the listeners hear that the link gave up (the window switches its automatic refresh
// off so that it does not restart on a broken link), and the user is told once.
template <typename Attempt>
bool RetrySlot(const CardEnvironment* env, int attempts, std::string_view failure_text,
               Attempt attempt) {
  SlotLink* link = env != nullptr ? env->link : nullptr;
  bool ok = false;
  for (int call = 0; link != nullptr && call < attempts && !ok; ++call) ok = attempt(*link);
  if (!ok && env != nullptr) {
    ReportLinkGaveUp(env->reports);
    if (env->messages != nullptr) env->messages->Inform(failure_text);
  }
  return ok;
}

}  // namespace

bool SlotBlocks::Read(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) {
  const bool ok = RetrySlot(env_, kSlotReadAttempts, kReadConnectionError,
                            [&](SlotLink& link) { return link.ReadSlotBlock(slot_, block, out); });
  if (ok) ReverseGroups(out);  // the link carries link order
  return ok;
}

bool SlotBlocks::Write(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data) {
  Block carried;
  std::copy(data.begin(), data.end(), carried.begin());
  ReverseGroups(carried);
  return RetrySlot(env_, kSlotWriteAttempts, kWriteConnectionError,
                   [&](SlotLink& link) { return link.WriteSlotBlock(slot_, block, carried); });
}

bool ImageFileBlocks::Seek(std::uint8_t block) {
  return file_ != nullptr &&
         std::fseek(file_.get(), static_cast<long>(block) * kBlockSize, SEEK_SET) == 0;
}

bool ImageFileBlocks::Read(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) {
  if (!Seek(block)) return false;
  std::fread(out.data(), 1, out.size(), file_.get());
  const bool ok = std::ferror(file_.get()) == 0;
  std::clearerr(file_.get());
  if (ok && order_ == ImageOrder::kLink) ReverseGroups(out);
  return ok;
}

bool ImageFileBlocks::Write(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data) {
  if (read_only_) {
    if (env_ != nullptr && env_->messages != nullptr) {
      env_->messages->Inform(ReadOnlyImageMessage(path_));
    }
    errno = EROFS;
    return false;
  }
  if (!Seek(block)) return false;
  Block stored;
  std::copy(data.begin(), data.end(), stored.begin());
  if (order_ == ImageOrder::kLink) ReverseGroups(stored);
  bool ok = std::fwrite(stored.data(), 1, stored.size(), file_.get()) == stored.size();
  ok = std::fflush(file_.get()) == 0 && ok;
  std::clearerr(file_.get());
  return ok;
}

std::string ReadOnlyImageMessage(std::string_view file) {
  return FillText(kReadOnlyImageText, {file});
}

}  // namespace quorvel
