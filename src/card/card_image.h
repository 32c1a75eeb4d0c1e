// The in-memory model of one card: root block, FAT, the 208 directory records and the listing,
// with the layout constants of the card's file system, and the source its blocks come from.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "card/block_source.h"
#include "host/block.h"
#include "host/reports.h"
#include "link/link_device.h"

namespace quorvel {

class CancelRequest;
class Journal;
class Messages;
class SlotLink;

// Block roles of the card format.
inline constexpr int kCardBlocks = 256;
inline constexpr std::uint8_t kRootBlock = 255;
inline constexpr std::uint8_t kFatBlock = 254;
inline constexpr std::uint8_t kDirectoryBlock = 253;  // first block of the directory chain
inline constexpr std::uint8_t kLastDirectoryBlock = 241;
inline constexpr int kDirectoryBlocks = 13;
inline constexpr int kEntriesPerBlock = 16;
inline constexpr int kSaveRecords = kDirectoryBlocks * kEntriesPerBlock;  // 208
inline constexpr std::size_t kDirEntrySize = 32;
inline constexpr std::size_t kImageFileSize = kCardBlocks * kBlockSize;  // 131,072

// FAT values.
inline constexpr std::uint16_t kFatFree = 0xFFFC;
inline constexpr std::uint16_t kFatLast = 0xFFFA;
inline constexpr std::uint16_t kFatUnformatted = 0xFFFF;

// Root block fields (logical order).
inline constexpr std::size_t kRootMarkerSize = 16;  // bytes 0x00 to 0x0F: the format marker
inline constexpr std::uint8_t kRootMarkerByte = 0x55;
inline constexpr std::size_t kRootFatLocation = 0x46;
inline constexpr std::size_t kRootDirectoryLocation = 0x4A;
inline constexpr std::size_t kRootDirectorySize = 0x4C;
inline constexpr std::size_t kRootUserBlocks = 0x50;
inline constexpr int kMinUserBlocks = 200;  // the fewest user blocks a format gives

// Card sources: 0 and 1 are the link's slots, 2 (or more) the open image file.
inline constexpr std::uint8_t kSourceSlot1 = 0;
inline constexpr std::uint8_t kSourceSlot2 = 1;
inline constexpr std::uint8_t kSourceImage = 2;

// Directory entry fields (logical order, little-endian).
inline constexpr std::size_t kEntryType = 0x00;
inline constexpr std::size_t kEntryCopyProtect = 0x01;
inline constexpr std::size_t kEntryFirstBlock = 0x02;
inline constexpr std::size_t kEntryName = 0x04;
inline constexpr std::size_t kEntryNameSize = 12;
inline constexpr std::size_t kEntryTimeStamp = 0x10;
inline constexpr std::size_t kEntrySize = 0x18;
inline constexpr std::size_t kEntryHeaderOffset = 0x1A;
inline constexpr std::uint8_t kDataType = 0x33;
inline constexpr std::uint8_t kGameType = 0xCC;

// Save header fields (logical order).
inline constexpr std::size_t kHeaderDescriptionSize = 0x30;
inline constexpr std::size_t kHeaderIconCount = 0x40;

using DirEntry = std::array<std::uint8_t, kDirEntrySize>;

// One directory slot with the texts and numbers the panes show.
struct SaveRecord {
  std::uint16_t icon_count = 0;         // from the header; 0 when none was read
  std::uint16_t first_image_index = 0;  // set by the pane fill
  std::uint16_t current_frame = 0;      // advanced by the pane animation
  std::uint8_t first_block = 0;         // entry byte 0x02
  std::uint16_t size = 0;               // entry byte 0x18; 0 marks an empty directory slot
  std::string name;                     // the 12 name bytes, one char per byte
  std::string date;                     // "CCYY/MM/DD"
  std::string time;                     // "HH:MM:SS"
  std::string description;              // one char per byte
  // The header's 48 description bytes as read (one char per byte), for decoding them as
  // Shift-JIS; empty when no header was read or a fixed text stands for it.
  std::string header_text;
  // Image-list index of each icon frame, set by the pane fill (wider than a byte so that a
  // pane may hold more than 256 images).
  std::array<std::uint16_t, 32> frame_image_indices{};
  bool header_in_second_block = false;  // true for a game save
  DirEntry entry{};                     // what the directory writer stores
};

// What the card layer needs around it: the link for the two slots, the message seam and the
// reports (progress, status text, a link that gave up), the journal of card writes and the
// request to stop a long command. Members may be null for an image-only card; without a
// journal nothing is recorded, without a request every command runs to its end.
struct CardEnvironment {
  SlotLink* link = nullptr;
  Messages* messages = nullptr;
  const Reports* reports = nullptr;
  Journal* journal = nullptr;
  CancelRequest* cancel = nullptr;
};

// The model of one card (slot 1, slot 2 or the image file). A slot's card reads its blocks
// through the link from the start; the image's card from the file OpenImageFile gives it.
struct CardImage {
  explicit CardImage(std::uint8_t source_number = kSourceImage,
                     CardEnvironment* environment = nullptr)
      : source(source_number), env(environment) {
    list_order.fill(0xFF);
    if (IsSlot()) blocks = std::make_unique<SlotBlocks>(source, env);
  }

  // Where the blocks come from: the slot, or the open image file (null while none is open).
  std::unique_ptr<BlockSource> blocks;

  std::uint8_t free_blocks = 0;  // user blocks - listed sizes, 0 when the sizes exceed them
  std::uint8_t listed_count = 0;
  std::array<std::uint8_t, kSaveRecords + 1> list_order;  // directory indices, then 0xFF

  std::uint8_t source;
  Block root{};  // logical order
  std::array<SaveRecord, kSaveRecords> records;
  std::array<std::uint16_t, kCardBlocks> fat{};
  bool io_error = false;               // the last root or FAT read or write failed
  bool link_failed = false;            // the last slot block operation failed all its attempts
  bool system_chain_repaired = false;  // the last load rebuilt the directory chain in memory

  CardEnvironment* env;  // given at construction: a slot's source works with the same one

  bool IsSlot() const { return source < kSourceImage; }
  // The open image file: whether there is one, its path, whether it may only be read.
  bool ImageOpen() const { return !IsSlot() && blocks != nullptr; }
  std::string ImageName() const { return ImageOpen() ? std::string(blocks->FileName()) : ""; }
  bool ImageReadOnly() const { return ImageOpen() && blocks->ReadOnly(); }
};

// Reports progress of a long operation on `card` to whoever listens.
inline void ReportProgress(CardImage& card, int position, int maximum) {
  if (card.env != nullptr) ReportProgress(card.env->reports, position, maximum);
}

}  // namespace quorvel
