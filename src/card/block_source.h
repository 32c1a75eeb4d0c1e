// Where a card's blocks come from: the card in a slot of the link unit, or a whole-card image
// file kept in either byte order (a DCM file, or a raw image as emulators keep cards). Every
// source reads and writes one 512-byte block at a time in the card's own order; the per-load
// block cache stands in front of it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "card/block_cache.h"
#include "card/image_order.h"
#include "host/block.h"

namespace quorvel {

struct CardEnvironment;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class BlockSource {
 public:
  virtual ~BlockSource() = default;

  // One block in the card's own order; false when it could not be moved. A failed read may
  // leave `out` changed.
  virtual bool Read(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) = 0;
  virtual bool Write(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data) = 0;

  // The image file's path; empty for a slot.
  virtual std::string_view FileName() const { return {}; }
  // True for an image file that may only be read.
  virtual bool ReadOnly() const { return false; }

  BlockCache& cache() { return cache_; }

 private:
  BlockCache cache_;  // active only inside a CacheScope (one load)
};

// Attempts per block over the link before the operation gives up.
inline constexpr int kSlotReadAttempts = 16;
inline constexpr int kSlotWriteAttempts = 5;

// Shown once when a slot block read (resp. write) failed every attempt.
inline constexpr std::string_view kReadConnectionError =
    "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..). ";
inline constexpr std::string_view kWriteConnectionError =
    "連接錯誤!(請先關閉自動重新整理功能,再檢查程式的速度值,電源和連接器等問題..).  ";

// The card in slot `slot` of the link unit. A block crosses the link in link order, tried
// again with no pause until it succeeds (16 reads, 5 writes in all); after the last failure
// the listeners hear that the link gave up and the user is told once. The link, messages and
// reports are taken from `env` at each call (a missing link fails every call).
class SlotBlocks : public BlockSource {
 public:
  SlotBlocks(std::uint8_t slot, const CardEnvironment* env) : slot_(slot), env_(env) {}
  bool Read(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) override;
  bool Write(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data) override;

 private:
  std::uint8_t slot_;
  const CardEnvironment* env_;
};

// A whole-card image file, open (and locked) for as long as the source lives; block k is at
// offset k × 512, in the file's own `order`. A read past the end of a short file is not an
// error: the bytes it lacks stay as they were. A write to a file opened for reading only is
// refused, and the user told (through `env`'s messages, when given).
class ImageFileBlocks : public BlockSource {
 public:
  ImageFileBlocks(FilePtr file, std::string path, ImageOrder order, bool read_only,
                  const CardEnvironment* env)
      : file_(std::move(file)),
        path_(std::move(path)),
        order_(order),
        read_only_(read_only),
        env_(env) {}
  bool Read(std::uint8_t block, std::span<std::uint8_t, kBlockSize> out) override;
  bool Write(std::uint8_t block, std::span<const std::uint8_t, kBlockSize> data) override;
  std::string_view FileName() const override { return path_; }
  bool ReadOnly() const override { return read_only_; }
  ImageOrder order() const { return order_; }

 private:
  bool Seek(std::uint8_t block);

  FilePtr file_;
  std::string path_;
  ImageOrder order_;
  bool read_only_;
  const CardEnvironment* env_;
};

// Told when a write to an image file opened for reading only is refused.
std::string ReadOnlyImageMessage(std::string_view file);

}  // namespace quorvel
