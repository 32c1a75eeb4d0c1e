// Memory-backed card images and the seed cards of the card fuzz targets.
#include "card_support.h"

#include <algorithm>
#include <cstdio>

#include "card/block_io.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

MemoryCard::MemoryCard(Bytes image) : bytes_(std::move(image)) {
  bytes_.resize(kImageFileSize, 0x00);
  card_.image_file.reset(fmemopen(bytes_.data(), bytes_.size(), "r+b"));
  Check(card_.image_file != nullptr, "a memory image could not be opened");
  card_.image_open = true;
  card_.image_name = "memory";
}

MemoryCard::~MemoryCard() { CloseImageFile(card_); }

const Bytes& EmptyCardImage() {
  static const Bytes image = [] {
    MemoryCard blank(Bytes{});
    Check(FormatCard(blank.card(), 200), "the empty card could not be formatted");
    return blank.bytes();
  }();
  return image;
}

Bytes CardImageFromInput(Input input) {
  if (input.size() >= kImageFileSize) return Bytes(input.begin(), input.begin() + kImageFileSize);
  Bytes image = EmptyCardImage();
  std::copy(input.begin(), input.end(), image.end() - static_cast<std::ptrdiff_t>(input.size()));
  return image;
}

namespace {

// Adds a save of `size` blocks named `name` to a loaded card, each block filled with a
// pattern of its own; the header block holds a description and `icons`.
void AddSave(CardImage& card, const std::string& name, std::uint16_t size, bool game,
             std::uint8_t icons) {
  Placement placement;
  Check(PlanPlacement(card, size, game, placement) == TransferError::kNone,
        "a seed save does not fit");
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
    WriteBlock(card, placement.blocks[k], block);
  }
  DirEntry entry{};
  entry[kEntryType] = game ? kGameType : 0x33;
  std::copy_n(name.begin(), std::min(name.size(), kEntryNameSize), entry.begin() + kEntryName);
  const std::uint8_t stamp[] = {0x20, 0x26, 0x12, 0x08, 0x15, 0x34, 0x27, 0x02};
  std::copy(std::begin(stamp), std::end(stamp), entry.begin() + kEntryTimeStamp);
  entry[kEntrySize] = static_cast<std::uint8_t>(size);
  ApplyPlacement(card, placement, entry, game);
  Check(WriteFatAndDirectory(card), "a seed save could not be written");
  UpdateListing(card);
}

Bytes MadeCard(bool damaged) {
  MemoryCard made(EmptyCardImage());
  CardImage& card = made.card();
  Check(LoadCard(card) == LoadResult::kLoaded, "the empty card does not load");
  AddSave(card, "GAME_PROGRAM", 6, true, 2);
  AddSave(card, "SONIC_ADV___", 10, false, 3);
  AddSave(card, "ICONDATA_VMS", 2, false, 0);
  AddSave(card, "RACE_DATA___", 3, false, 1);
  if (damaged) {
    // A looping chain, a cross-link and a FAT value past the card.
    card.fat[199] = 199;
    card.fat[185] = 198;
    card.fat[0] = 0x1234;
    WriteFat(card);
  }
  return made.bytes();
}

}  // namespace

std::vector<Bytes> SeedCards() {
  std::vector<Bytes> seeds = {EmptyCardImage(), MadeCard(false), MadeCard(true)};
  for (const char* raw : {"fuse-vmu/vmu_a.bin", "fuse-vmu/vmu_b.bin", "fuse-vmu/example_vmu.bin",
                          "dreampotato/ReadFiles_01.vmu"}) {
    std::optional<Bytes> card = RealData(raw);
    if (!card || card->size() != kImageFileSize) continue;
    for (std::size_t offset = 0; offset < card->size(); offset += kBlockSize) {
      ReverseGroups(std::span<std::uint8_t, kBlockSize>(card->data() + offset, kBlockSize));
    }
    seeds.push_back(*card);
  }
  return seeds;
}

std::vector<Block> SaveBlocks(CardImage& card, std::size_t index) {
  std::vector<Block> blocks;
  const SaveRecord& save = card.records[index];
  std::uint16_t block = save.first_block;
  while (blocks.size() < save.size && block < kCardBlocks) {
    Block data{};
    ReadBlock(card, static_cast<std::uint8_t>(block), data);
    blocks.push_back(data);
    block = card.fat[block];
  }
  return blocks;
}

}  // namespace quorvel::fuzz
