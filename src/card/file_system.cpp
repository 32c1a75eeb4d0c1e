// Root, FAT, chains, directory and the loading of a whole card.
#include "card/file_system.h"

#include <algorithm>
#include <cstring>

#include "card/block_io.h"
#include "card/cancel.h"

namespace quorvel {
namespace {

std::uint8_t NextOf(std::uint16_t fat_value) {
  return fat_value == kFatLast ? 0xFF : static_cast<std::uint8_t>(fat_value & 0xFF);
}

// The entry's BCD time stamp as "CCYY/MM/DD" and "HH:MM:SS", each byte as two hex digits,
// written into the storage the texts already have.
void SetTimeStamp(const DirEntry& entry, SaveRecord& record) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const auto put = [&entry](char* at, std::size_t field) {
    at[0] = kHexDigits[entry[kEntryTimeStamp + field] >> 4];
    at[1] = kHexDigits[entry[kEntryTimeStamp + field] & 0xF];
  };
  char date[] = "CCYY/MM/DD";
  put(date, 0);
  put(date + 2, 1);
  put(date + 5, 2);
  put(date + 8, 3);
  record.date.assign(date, sizeof date - 1);
  char time[] = "HH:MM:SS";
  put(time, 4);
  put(time + 3, 5);
  put(time + 6, 6);
  record.time.assign(time, sizeof time - 1);
}

// Sets `text` to the 48 description bytes of a header, unprintable bytes shown as blanks (0x1F
// stays), in the storage it already has.
void SetDescription(const Block& header, std::string& text) {
  text.assign(header.begin(), header.begin() + kHeaderDescriptionSize);
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x1F || byte >= 0x7F) c = ' ';
  }
}

// Gives a record the values of SaveRecord{} (every field), for the next load, but keeps the
// storage of its texts: a card is loaded again after every command and card change, and most
// records hold no save, so most of them are empty already.
void ClearRecord(SaveRecord& record) {
  record.icon_count = 0;
  record.first_image_index = 0;
  record.current_frame = 0;
  record.first_block = 0;
  record.size = 0;
  record.name.clear();
  record.date.clear();
  record.time.clear();
  record.description.clear();
  record.header_text.clear();
  // One memset each rather than an element loop, which the fuzz build's hooks make costly.
  std::memset(record.frame_image_indices.data(), 0, sizeof record.frame_image_indices);
  record.header_in_second_block = false;
  std::memset(record.entry.data(), 0, sizeof record.entry);
}

// Every record as SaveRecord{}, keeping the storage of their texts.
void ClearRecords(CardImage& card) {
  for (SaveRecord& record : card.records) ClearRecord(record);
}

// Reads a save's header block in logical order; false when it cannot be read.
bool ReadHeader(CardImage& card, std::uint8_t block, Block& header) {
  if (!ReadBlock(card, block, header)) return false;
  ReverseGroups(header);
  return true;
}

void ReadGameHeader(CardImage& card, SaveRecord& record) {
  std::uint16_t header_block = card.fat[0];
  Block header;
  if (header_block >= kCardBlocks || !ReadHeader(card, header_block, header)) return;
  record.icon_count = header[kHeaderIconCount];
  SetDescription(header, record.description);
  record.header_text.assign(header.begin(), header.begin() + kHeaderDescriptionSize);
}

void ReadDataHeader(CardImage& card, SaveRecord& record) {
  Block header;
  if (!ReadHeader(card, record.first_block, header)) return;
  if (record.name == "ICONDATA_VMS") {
    record.icon_count = 0;
    record.description = "VMU CAPTION LOGO";
  } else if (header[kHeaderIconCount] <= 63 || header[kHeaderIconCount + 1] == 0xFF) {
    record.icon_count = header[kHeaderIconCount];
    SetDescription(header, record.description);
    record.header_text.assign(header.begin(), header.begin() + kHeaderDescriptionSize);
  } else {
    record.icon_count = 0;
    record.description = "UNKNOWN FILE SAVER";
  }
}

// Turns the entry already copied into `record` into the texts and numbers the panes show.
void BuildSaveRecord(CardImage& card, SaveRecord& record) {
  const DirEntry& entry = record.entry;
  if (!HoldsSave(entry)) return;
  record.name.assign(entry.begin() + kEntryName, entry.begin() + kEntryName + kEntryNameSize);
  SetTimeStamp(entry, record);
  record.first_block = entry[kEntryFirstBlock];
  record.size = entry[kEntrySize];
  record.current_frame = 0;
  record.header_in_second_block = IsGameEntry(entry);
  if (record.header_in_second_block) {
    ReadGameHeader(card, record);
  } else {
    ReadDataHeader(card, record);
  }
}

// Everything but the save records, which the directory read clears (or the load, when there
// is no directory to read).
void ClearModel(CardImage& card) {
  card.root.fill(0);
  card.fat.fill(0);
  card.listed_count = 0;
  card.list_order.fill(0xFF);
  card.free_blocks = 0;
  card.io_error = false;
  card.link_failed = false;
  card.system_chain_repaired = false;
}

}  // namespace

void ReadRoot(CardImage& card) {
  card.io_error = !ReadBlock(card, kRootBlock, card.root);
  ReverseGroups(card.root);
}

void WriteRoot(CardImage& card) {
  Block copy = card.root;
  ReverseGroups(copy);
  card.io_error = !WriteBlock(card, kRootBlock, copy);
}

void ReadFat(CardImage& card) {
  Block block{};
  card.io_error = !ReadBlock(card, kFatBlock, block);
  ReverseGroups(block);
  DecodeFat(block, card.fat);
}

void DecodeFat(std::span<const std::uint8_t, kBlockSize> block,
               std::array<std::uint16_t, kCardBlocks>& fat) {
  for (int i = 0; i < kCardBlocks; ++i) {
    fat[i] = static_cast<std::uint16_t>(block[2 * i] | block[2 * i + 1] << 8);
  }
}

void WriteFat(CardImage& card) {
  Block block;
  for (int i = 0; i < kCardBlocks; ++i) {
    block[2 * i] = static_cast<std::uint8_t>(card.fat[i] & 0xFF);
    block[2 * i + 1] = static_cast<std::uint8_t>(card.fat[i] >> 8);
  }
  ReverseGroups(block);
  card.io_error = !WriteBlock(card, kFatBlock, block);
}

bool ChainBegin(const CardImage& card, std::uint8_t block, ChainCursor& cursor) {
  if (card.fat[block] == kFatFree) return false;
  cursor.next = NextOf(card.fat[block]);
  return true;
}

bool ChainNext(const CardImage& card, ChainCursor& cursor, std::uint8_t& block) {
  if (cursor.next == 0xFF) return false;
  block = cursor.next;
  cursor.next = NextOf(card.fat[block]);
  return true;
}

void ReadDirectory(CardImage& card) {
  // Each record is cleared once here (a load does not clear them before): by its entry when
  // the chain reaches it, else as holding no save.
  std::size_t read = 0;
  ChainCursor cursor;
  if (ChainBegin(card, kDirectoryBlock, cursor)) {
    std::uint8_t block = kDirectoryBlock;
    // One buffer for the whole walk: a block that cannot be read (its result is ignored, as
    // the load judges the link afterwards) leaves what the buffer held.
    Block entries{};
    for (int k = 0; k < kDirectoryBlocks; ++k) {
      if (StopRequested(card)) break;  // the load sees it and lists nothing
      ReadBlock(card, block, entries);
      ReverseGroups(entries);
      for (int j = 0; j < kEntriesPerBlock; ++j) {
        SaveRecord& record = card.records[read++];
        ClearRecord(record);
        std::copy_n(entries.begin() + kDirEntrySize * j, kDirEntrySize, record.entry.begin());
        BuildSaveRecord(card, record);
      }
      if (!ChainNext(card, cursor, block)) break;
    }
  }
  for (; read < card.records.size(); ++read) ClearRecord(card.records[read]);
}

bool WriteDirectory(CardImage& card) {
  ChainCursor cursor;
  if (!ChainBegin(card, kDirectoryBlock, cursor)) return false;
  bool ok = true;
  std::uint8_t block = kDirectoryBlock;
  for (int k = 0; k < kDirectoryBlocks; ++k) {
    Block entries;
    for (int j = 0; j < kEntriesPerBlock; ++j) {
      const DirEntry& entry = card.records[kEntriesPerBlock * k + j].entry;
      std::copy(entry.begin(), entry.end(), entries.begin() + kDirEntrySize * j);
    }
    ReverseGroups(entries);
    ok = WriteBlock(card, block, entries) && ok;
    if (!ChainNext(card, cursor, block)) break;
  }
  return ok;
}

void RepairSystemChain(CardImage& card) {
  card.system_chain_repaired = false;
  if (card.fat[kFatBlock] == kFatLast && card.fat[kRootBlock] == kFatLast) return;
  card.system_chain_repaired = true;
  for (int i = kLastDirectoryBlock + 1; i <= kDirectoryBlock; ++i) {
    card.fat[i] = static_cast<std::uint16_t>(i - 1);
  }
  card.fat[kLastDirectoryBlock] = kFatLast;
  card.fat[kFatBlock] = kFatLast;
  card.fat[kRootBlock] = kFatLast;
}

std::uint8_t UserBlockCount(const CardImage& card) { return card.root[kRootUserBlocks]; }

std::string UnformattedReason(const CardImage& card) {
  if (card.fat[0] == kFatUnformatted || card.fat[1] == kFatUnformatted) {
    return "its FAT reads \"not formatted\"";
  }
  for (std::size_t i = 0; i < kRootMarkerSize; ++i) {
    if (card.root[i] != kRootMarkerByte) return "its root block has no format marker";
  }
  const int user_blocks = UserBlockCount(card);
  if (user_blocks == 0 || user_blocks > kLastDirectoryBlock) {
    return "its root block gives " + std::to_string(user_blocks) + " user blocks";
  }
  return "";
}

bool IsFormatted(const CardImage& card) { return UnformattedReason(card).empty(); }

bool HoldsSave(const DirEntry& entry) {
  return entry[kEntryFirstBlock] != 0 || entry[kEntryType] == kGameType;
}

bool IsGameEntry(const DirEntry& entry) {
  return entry[kEntryType] == kGameType && entry[kEntryFirstBlock + 1] == 0;
}

std::string PrintableName(const std::string& name) {
  std::string text = name;
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) c = '.';
  }
  return text;
}

std::uint16_t UpdateListing(CardImage& card) {
  int total = UserBlockCount(card);
  card.list_order.fill(0xFF);
  int row = 0;
  for (int s = 0; s < kSaveRecords; ++s) {
    if (card.records[s].size == 0) continue;
    card.list_order[row++] = static_cast<std::uint8_t>(s);
    total -= card.records[s].size;
  }
  card.listed_count = static_cast<std::uint8_t>(row);
  // Sizes that add up to more than the user blocks (a damaged directory) leave nothing free.
  total = std::max(total, 0);
  card.free_blocks = static_cast<std::uint8_t>(total);
  return static_cast<std::uint16_t>(total);
}

namespace {

// Root and FAT; kLoaded means the card is formatted and its directory may be read.
LoadResult LoadSystemBlocks(CardImage& card) {
  ReportProgress(card, 0, 3);
  ReadRoot(card);
  if (card.io_error) return LoadResult::kFailed;
  ReportProgress(card, 1, 3);
  ReadFat(card);
  if (card.io_error) return LoadResult::kFailed;
  return IsFormatted(card) ? LoadResult::kLoaded : LoadResult::kUnformatted;
}

}  // namespace

LoadResult LoadCard(CardImage& card) {
  CacheScope scope(card);
  ClearModel(card);
  LoadResult result = StopRequested(card) ? LoadResult::kFailed : LoadSystemBlocks(card);
  if (result == LoadResult::kLoaded) {
    RepairSystemChain(card);
    ReportProgress(card, 2, 3);
    ReadDirectory(card);
  }
  if (StopRequested(card)) {
    // Asked to stop between blocks: nothing was written, and nothing half-read is listed.
    ClearModel(card);
    ClearRecords(card);
    AcknowledgeStop(card, CancelOutcome::kNothingWritten);
    result = LoadResult::kFailed;
  } else if (result == LoadResult::kLoaded) {
    if (card.IsSlot() && card.link_failed) {
      result = LoadResult::kFailed;
    } else {
      UpdateListing(card);
    }
  } else {
    ClearRecords(card);
  }
  ReportProgress(card, 0, 0);
  return result;
}

}  // namespace quorvel
