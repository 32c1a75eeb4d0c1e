// Card images for the card fuzz targets: the empty card, a card made from an input, and the
// demo cards the fuzzing starts from.
#include "card_support.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "demo_cards.h"
#include "fuzz_support.h"
#include "support/card_invariants.h"

namespace quorvel::fuzz {

const Bytes& EmptyCardImage() {
  static const Bytes image = testing::FormattedCardImage(200);
  return image;
}

namespace {

// Calls `lay(offset, bytes)` for each block of a short input, in its order.
template <typename Lay>
void ForEachInputBlock(Input input, Lay lay) {
  InputReader reader(input);
  while (!reader.Empty()) {
    const std::uint8_t block = reader.Byte();
    lay(std::size_t{block} * kBlockSize, reader.Take(kBlockSize));
  }
}

}  // namespace

void ResetFromInput(MemoryCard& card, Input input, const Bytes& base) {
  if (input.size() >= kImageFileSize) {
    card.Reset(input.first(kImageFileSize));
    return;
  }
  card.Reset(base);
  ForEachInputBlock(input,
                    [&card](std::size_t offset, Input bytes) { card.Overwrite(offset, bytes); });
}

std::bitset<kCardBlocks> LaidBlocks(Input input) {
  std::bitset<kCardBlocks> laid;
  if (input.size() >= kImageFileSize) return laid.set();
  ForEachInputBlock(input, [&laid](std::size_t offset, Input) { laid.set(offset / kBlockSize); });
  return laid;
}

void ResetFromInput(MemoryCard& card, Input input) {
  ResetFromInput(card, input, EmptyCardImage());
}

Bytes ShortCardInput(const Bytes& image, const Bytes& base, bool upwards, std::size_t max_length) {
  std::vector<int> order;
  for (int block = kCardBlocks - 1; block >= kLastDirectoryBlock; --block) order.push_back(block);
  for (int k = 0; k < kLastDirectoryBlock; ++k) {
    order.push_back(upwards ? k : kLastDirectoryBlock - 1 - k);
  }
  Bytes input;
  for (const int block : order) {
    const auto at = static_cast<std::ptrdiff_t>(std::size_t(block) * kBlockSize);
    if (std::equal(image.begin() + at, image.begin() + at + kBlockSize, base.begin() + at)) {
      continue;
    }
    if (input.size() + 1 + kBlockSize > max_length) break;
    input.push_back(static_cast<std::uint8_t>(block));
    input.insert(input.end(), image.begin() + at, image.begin() + at + kBlockSize);
  }
  return input;
}

MemoryCard& ReusedCard(int which) {
  static MemoryCard cards[2] = {MemoryCard(EmptyCardImage()), MemoryCard(EmptyCardImage())};
  return cards[which];
}

MemoryCard& InputCard(Input input) {
  MemoryCard& card = ReusedCard(0);
  ResetFromInput(card, input);
  return card;
}

namespace {

Bytes MadeCard(bool damaged) {
  MemoryCard made(EmptyCardImage());
  CardImage& card = made.card();
  Check(LoadCard(card) == LoadResult::kLoaded, "the empty card does not load");
  for (const auto& [name, size, game, icons] :
       {std::tuple{"GAME_PROGRAM", 6, true, 2}, std::tuple{"SONIC_ADV___", 10, false, 3},
        std::tuple{"ICONDATA_VMS", 2, false, 0}, std::tuple{"RACE_DATA___", 3, false, 1}}) {
    Check(testing::AddPatternSave(card, name, static_cast<std::uint16_t>(size), game,
                                  static_cast<std::uint8_t>(icons)),
          "a seed save could not be added");
  }
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
  std::string error;
  const std::filesystem::path demo_dir = ScratchDir() / "demo";
  std::filesystem::create_directories(demo_dir);
  Check(demo::WriteDemoCards(demo_dir, error), "the demo cards could not be written");
  for (const char* name : {"slot1.dcm", "slot2.dcm"}) seeds.push_back(ReadFile(demo_dir / name));
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

std::vector<Bytes> SeedCardInputs() {
  const Bytes& empty = EmptyCardImage();
  std::vector<Bytes> seeds;
  for (const Bytes& card : SeedCards()) {
    Bytes upwards = ShortCardInput(card, empty, true);
    Bytes downwards = ShortCardInput(card, empty, false);
    if (upwards.size() + 1 + kBlockSize <= kShortCardMaxLength) {
      // Everything fitted: laid onto the empty card, the short form is the card again.
      MemoryCard laid(empty);
      ResetFromInput(laid, upwards);
      Check(laid.bytes() == card, "a seed card's short form does not give the card back");
    }
    if (downwards != upwards) seeds.push_back(std::move(downwards));
    seeds.push_back(std::move(upwards));
  }
  // The empty card's own root block alone, and its FAT and root, as blocks laid onto it.
  const auto chunk = [&empty](std::uint8_t block) {
    const auto at = empty.begin() + static_cast<std::ptrdiff_t>(std::size_t{block} * kBlockSize);
    Bytes input{block};
    input.insert(input.end(), at, at + kBlockSize);
    return input;
  };
  seeds.push_back(chunk(kRootBlock));
  Bytes system = chunk(kFatBlock);
  const Bytes root = chunk(kRootBlock);
  system.insert(system.end(), root.begin(), root.end());
  seeds.push_back(std::move(system));
  return seeds;
}

void CheckImportOntoEmptyCard(MemoryCard& target, Input save_file, bool imported) {
  CardImage& card = target.card();
  if (!imported) {
    Check(invariants::SameCardContent(EmptyCardImage(), target.bytes()),
          "a refused import changed what the card stores");
    return;
  }
  Check(LoadCard(card) == LoadResult::kLoaded, "the card does not load after an import");
  Check(CheckCard(card).empty(), "the card's check fails after an import");
  Check(card.listed_count == 1, "the imported save is not listed");
  const SaveRecord& save = card.records[card.list_order[0]];
  DirEntry entry;
  std::copy_n(save_file.begin(), kDciEntrySize, entry.begin());
  Check(save.header_in_second_block == IsGameEntry(entry),
        "the card lists the save as a game when the file held data, or the other way round");
  // The first block is the card's to choose: for a data save both of its bytes.
  const std::size_t chosen = entry[kEntryType] == kDataType ? 2 : 1;
  for (std::size_t k = 0; k < kDciEntrySize; ++k) {
    Check((k >= kEntryFirstBlock && k < kEntryFirstBlock + chosen) || save.entry[k] == entry[k],
          "the stored entry differs from the file's beyond its first block");
  }
  const std::vector<Block> blocks = SaveBlocks(card, card.list_order[0]);
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    const Input expected = save_file.subspan(kDciEntrySize + k * kBlockSize, kBlockSize);
    Check(std::equal(blocks[k].begin(), blocks[k].end(), expected.begin()),
          "an imported block differs from the file");
  }
}

void CheckListing(const CardImage& card) {
  int with_size = 0;
  for (const SaveRecord& record : card.records) with_size += record.size != 0 ? 1 : 0;
  Check(card.listed_count == with_size, "the listing does not hold every save");
  for (int k = 0; k < card.listed_count; ++k) {
    Check(card.list_order[k] < kSaveRecords, "a listed index outside the directory");
  }
  Check(card.list_order[card.listed_count] == 0xFF, "the listing is not closed");
}

std::vector<Block> SaveBlocks(CardImage& card, std::size_t index) {
  std::vector<Block> blocks;
  const SaveRecord& save = card.records[index];
  blocks.reserve(save.size);
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
