// Block reads over the link for loading a full card and decoding every icon frame, as the
// panes do after a refresh: each frame reads its header block, the block holding its first 24
// rows and the block after it. Compares the plain way (every read crosses the link) with
// the per-load block cache. The counters give the link's block reads per load, the distinct
// blocks the load touched, and reads per distinct block.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "card/block_io.h"
#include "card/file_system.h"
#include "card/link_slots.h"
#include "link/link_device.h"
#include "link/settings.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {
namespace {

constexpr int kSaves = 40;  // 40 saves of 5 blocks fill a 200-block card
constexpr int kSaveBlocks = 5;
constexpr int kFramesPerSave = 3;

// A formatted 200-block card full of data saves with three icon frames each, in link order.
std::vector<std::uint8_t> FullCard() {
  std::array<std::array<std::uint8_t, kBlockSize>, kCardBlocks> logical{};
  auto set_fat = [&](int block, std::uint16_t value) {
    logical[kFatBlock][2 * block] = static_cast<std::uint8_t>(value & 0xFF);
    logical[kFatBlock][2 * block + 1] = static_cast<std::uint8_t>(value >> 8);
  };
  for (int i = 0; i < 16; ++i) logical[kRootBlock][i] = 0x55;
  logical[kRootBlock][0x46] = kFatBlock;
  logical[kRootBlock][0x4A] = kDirectoryBlock;
  logical[kRootBlock][0x4C] = kDirectoryBlocks;
  logical[kRootBlock][kRootUserBlocks] = 200;
  for (int i = 0; i < kCardBlocks; ++i) set_fat(i, kFatFree);
  for (int i = kLastDirectoryBlock + 1; i <= kDirectoryBlock; ++i) set_fat(i, i - 1);
  set_fat(kLastDirectoryBlock, kFatLast);
  set_fat(kFatBlock, kFatLast);
  set_fat(kRootBlock, kFatLast);
  for (int save = 0; save < kSaves; ++save) {
    const int first = 199 - save * kSaveBlocks;
    for (int k = 0; k < kSaveBlocks; ++k) {
      set_fat(first - k, k + 1 < kSaveBlocks ? first - k - 1 : kFatLast);
    }
    logical[first][kHeaderIconCount] = kFramesPerSave;
    std::uint8_t* entry = logical[kDirectoryBlock - save / kEntriesPerBlock].data() +
                          kDirEntrySize * (save % kEntriesPerBlock);
    entry[kEntryType] = 0x33;
    entry[kEntryFirstBlock] = static_cast<std::uint8_t>(first);
    const std::string name = "SAVE" + std::to_string(save);
    std::copy(name.begin(), name.end(), entry + kEntryName);
    entry[kEntrySize] = kSaveBlocks;
  }
  std::vector<std::uint8_t> image(kImageFileSize);
  for (int block = 0; block < kCardBlocks; ++block) {
    for (std::size_t i = 0; i < kBlockSize; ++i)
      image[block * kBlockSize + (i ^ 3)] = logical[block][i];
  }
  return image;
}

// The reads of one icon frame: the header (palette), block A and the block after A, found by
// walking the chain from the save's first block.
void ReadIconFrame(CardImage& card, const SaveRecord& save, int frame) {
  Block buffer;
  ReadBlock(card, save.first_block, buffer);
  std::uint8_t block = save.first_block;
  ChainCursor cursor;
  ChainBegin(card, block, cursor);
  for (int step = 0; step < frame; ++step) ChainNext(card, cursor, block);
  ReadBlock(card, block, buffer);
  ChainNext(card, cursor, block);
  ReadBlock(card, block, buffer);
}

void LoadWithIcons(CardImage& card) {
  LoadCard(card);
  for (int k = 0; k < card.listed_count; ++k) {
    const SaveRecord& save = card.records[card.list_order[k]];
    for (int frame = 0; frame < save.icon_count; ++frame) ReadIconFrame(card, save, frame);
  }
}

// The unit's slots, noting which blocks were asked for.
class CountingSlots : public LinkSlots {
 public:
  using LinkSlots::LinkSlots;
  bool ReadSlotBlock(std::uint8_t slot, std::uint8_t block,
                     std::span<std::uint8_t, kBlockSize> buffer) override {
    touched_.insert(slot * 256 + block);
    return LinkSlots::ReadSlotBlock(slot, block, buffer);
  }
  void Forget() { touched_.clear(); }
  std::size_t DistinctBlocks() const { return touched_.size(); }

 private:
  std::set<int> touched_;
};

class VirtualCard {
 public:
  VirtualCard() {
    dir_ = std::filesystem::temp_directory_path() /
           ("quorvel-bench-card-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
    const std::vector<std::uint8_t> image = FullCard();
    std::ofstream(dir_ / "slot1.dcm", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    std::string error;
    unit_ = VirtualUnit::TwoSlotFromFolder(dir_, error);
    settings_.poll_delay = 0;
    settings_.byte_delay = 0;
    settings_.bit_delay = 0;
    link_ = std::make_unique<LinkDevice>(*unit_, settings_);
    link_->EndTransaction();
    link_->DetectUnitType();
    slots_ = std::make_unique<CountingSlots>(*link_);
    env_.link = slots_.get();
    card_ = std::make_unique<CardImage>(kSourceSlot1, &env_);
  }
  ~VirtualCard() { std::filesystem::remove_all(dir_); }
  CardImage& card() { return *card_; }
  std::uint64_t BlockReads() const { return unit_->Counters().block_reads; }
  CountingSlots& slots() { return *slots_; }

 private:
  std::filesystem::path dir_;
  LinkSettings settings_;
  std::unique_ptr<VirtualUnit> unit_;
  std::unique_ptr<LinkDevice> link_;
  std::unique_ptr<CountingSlots> slots_;
  CardEnvironment env_;
  std::unique_ptr<CardImage> card_;
};

void ReportReads(benchmark::State& state, std::uint64_t reads, std::size_t distinct) {
  state.counters["link_block_reads"] = static_cast<double>(reads);
  state.counters["distinct_blocks"] = static_cast<double>(distinct);
  state.counters["reads_per_distinct_block"] =
      static_cast<double>(reads) / static_cast<double>(distinct);
}

void BM_LoadFullCardPlain(benchmark::State& state) {
  VirtualCard unit;
  std::uint64_t reads = 0;
  for (auto _ : state) {
    unit.slots().Forget();
    const std::uint64_t before = unit.BlockReads();
    LoadWithIcons(unit.card());
    reads = unit.BlockReads() - before;
  }
  ReportReads(state, reads, unit.slots().DistinctBlocks());
}
BENCHMARK(BM_LoadFullCardPlain)->Unit(benchmark::kMillisecond);

void BM_LoadFullCardCached(benchmark::State& state) {
  VirtualCard unit;
  std::uint64_t reads = 0;
  for (auto _ : state) {
    unit.slots().Forget();
    const std::uint64_t before = unit.BlockReads();
    CacheScope one_load(unit.card());
    LoadWithIcons(unit.card());
    reads = unit.BlockReads() - before;
  }
  ReportReads(state, reads, unit.slots().DistinctBlocks());
}
BENCHMARK(BM_LoadFullCardCached)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
