// Cards held in memory for the fuzz targets and the soak: a CardImage whose image file is a
// byte buffer, and saves of recognisable bytes added through the card layer's own allocation.
#pragma once

#include <stdio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "card/block_io.h"
#include "card/card_image.h"
#include "card/file_system.h"
#include "card/save_transfer.h"

namespace quorvel::testing {

// A CardImage (the open image, source 2) reading and writing a 131,072-byte buffer, kept in
// the link's byte order as DCM files are (or in the card's own, as raw images are).
class MemoryCard {
 public:
  // Images shorter than a card are padded with zero bytes, longer ones cut.
  explicit MemoryCard(std::vector<std::uint8_t> image, ImageOrder order = ImageOrder::kLink)
      : bytes_(std::move(image)), order_(order) {
    bytes_.resize(kImageFileSize, 0x00);
    OpenStream();
  }
  ~MemoryCard() { CloseImageFile(card_); }
  MemoryCard(const MemoryCard&) = delete;
  MemoryCard& operator=(const MemoryCard&) = delete;

  // Makes the buffer hold `image` (padded or cut like the constructor's) and starts the card
  // afresh, reusing the buffer and the model: fuzz targets reset one card per input instead of
  // making a new one.
  void Reset(std::span<const std::uint8_t> image) {
    // Plain memcpy and memset: fuzz targets reset a 128 KiB card for every input.
    const std::size_t kept = std::min(image.size(), bytes_.size());
    if (kept > 0) std::memcpy(bytes_.data(), image.data(), kept);
    std::memset(bytes_.data() + kept, 0x00, bytes_.size() - kept);
  }

  // Writes `bytes` into the buffer at `offset`, as far as the card reaches.
  void Overwrite(std::size_t offset, std::span<const std::uint8_t> bytes) {
    if (offset >= bytes_.size()) return;
    const std::size_t count = std::min(bytes.size(), bytes_.size() - offset);
    if (count > 0) std::memcpy(bytes_.data() + offset, bytes.data(), count);
  }

  CardImage& card() { return card_; }
  // The image as written so far.
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  // The image file's stream over the buffer. Its stdio buffer is one block long: every read
  // of a whole block then goes straight from the card's buffer to the caller's and every write
  // is flushed at once, so the stdio buffer never holds card bytes and Reset() may change the
  // buffer underneath.
  void OpenStream() {
    FilePtr file(fmemopen(bytes_.data(), bytes_.size(), "r+b"));
    if (file == nullptr) throw std::runtime_error("fmemopen failed");
    std::setvbuf(file.get(), nullptr, _IOFBF, kBlockSize);
    card_.blocks = std::make_unique<ImageFileBlocks>(std::move(file), "memory", order_,
                                                     /*read_only=*/false, nullptr);
  }

  std::vector<std::uint8_t> bytes_;
  ImageOrder order_;
  CardImage card_;
};

// A card formatted with `user_blocks` user blocks and nothing else written (link order).
inline std::vector<std::uint8_t> FormattedCardImage(std::uint8_t user_blocks = 200) {
  MemoryCard blank({});
  if (!FormatCard(blank.card(), user_blocks)) throw std::runtime_error("format failed");
  return blank.bytes();
}

// Adds a save of `size` blocks to the loaded `card`, each block filled with bytes of its own
// (from `name` and the block's index); the header block holds `name` as its description and
// `icons` as its icon count. False when the save does not fit or was not written.
inline bool AddPatternSave(CardImage& card, const std::string& name, std::uint16_t size, bool game,
                           std::uint8_t icons) {
  Placement placement;
  if (PlanPlacement(card, size, game, placement) != TransferError::kNone) return false;
  bool ok = true;
  for (std::size_t k = 0; k < placement.blocks.size(); ++k) {
    Block block;
    for (std::size_t i = 0; i < block.size(); ++i) {
      block[i] = static_cast<std::uint8_t>(name[0] + k * 13 + i);
    }
    if (k == (game ? 1u : 0u)) {
      std::fill_n(block.begin(), kHeaderDescriptionSize, ' ');
      std::copy(name.begin(), name.end(), block.begin());
      block[kHeaderIconCount] = icons;
      block[kHeaderIconCount + 1] = 0;
    }
    ReverseGroups(block);
    ok = WriteBlock(card, placement.blocks[k], block) && ok;
  }
  DirEntry entry{};
  entry[kEntryType] = game ? kGameType : 0x33;
  std::copy_n(name.begin(), std::min(name.size(), kEntryNameSize), entry.begin() + kEntryName);
  const std::uint8_t stamp[] = {0x20, 0x26, 0x12, 0x08, 0x15, 0x34, 0x27, 0x02};
  std::copy(std::begin(stamp), std::end(stamp), entry.begin() + kEntryTimeStamp);
  entry[kEntrySize] = static_cast<std::uint8_t>(size);
  ApplyPlacement(card, placement, entry, game);
  ok = WriteFatAndDirectory(card) && ok;
  UpdateListing(card);
  return ok;
}

}  // namespace quorvel::testing
