// Test fixtures for the card layer.
#include "card/card_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>

#include "card/block_io.h"

namespace quorvel::test {

CardBuilder::CardBuilder(std::uint8_t user_blocks) {
  auto& root = blocks_[255];
  std::fill(root.begin(), root.begin() + 16, 0x55);
  root[0x46] = 254;
  root[0x48] = 1;
  root[0x4A] = 253;
  root[0x4C] = 13;
  root[0x50] = user_blocks;
  for (int i = 0; i < 256; ++i) SetFat(i, 0xFFFC);
  for (int i = 242; i <= 253; ++i) SetFat(i, static_cast<std::uint16_t>(i - 1));
  SetFat(241, 0xFFFA);
  SetFat(254, 0xFFFA);
  SetFat(255, 0xFFFA);
}

std::array<std::uint8_t, 512> SavePattern(int slot, int index) {
  std::array<std::uint8_t, 512> block;
  for (int i = 0; i < 512; ++i) block[i] = static_cast<std::uint8_t>(slot * 31 + index * 7 + i);
  return block;
}

void CardBuilder::AddSave(int slot, const std::string& name,
                          const std::vector<std::uint8_t>& blocks, bool game, std::uint8_t icons,
                          const std::string& description) {
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    blocks_[blocks[k]] = SavePattern(slot, static_cast<int>(k));
    SetFat(blocks[k], k + 1 < blocks.size() ? blocks[k + 1] : 0xFFFA);
  }
  auto& header = blocks_[blocks[game && blocks.size() > 1 ? 1 : 0]];
  std::fill(header.begin(), header.begin() + 0x30, ' ');
  std::copy(description.begin(), description.end(), header.begin());
  header[0x40] = icons;
  header[0x41] = 0;
  std::uint8_t* entry = Entry(slot);
  std::fill(entry, entry + 32, 0);
  entry[0] = game ? 0xCC : 0x33;
  entry[2] = game ? 0 : blocks.front();
  std::copy_n(name.begin(), std::min<std::size_t>(12, name.size()), entry + 4);
  const std::uint8_t stamp[] = {0x20, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x01};
  std::copy(stamp, stamp + 8, entry + 0x10);
  entry[0x18] = static_cast<std::uint8_t>(blocks.size());
  entry[0x1A] = game ? 1 : 0;
}

std::uint8_t* CardBuilder::Entry(int slot) {
  return blocks_[253 - slot / 16].data() + 32 * (slot % 16);
}

void CardBuilder::SetFat(int block, std::uint16_t value) {
  blocks_[254][2 * block] = static_cast<std::uint8_t>(value & 0xFF);
  blocks_[254][2 * block + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t CardBuilder::Fat(int block) const {
  return static_cast<std::uint16_t>(blocks_[254][2 * block] | blocks_[254][2 * block + 1] << 8);
}

std::vector<std::uint8_t> CardBuilder::Bytes() const {
  std::vector<std::uint8_t> image(256 * 512);
  for (int block = 0; block < 256; ++block) {
    for (int i = 0; i < 512; ++i) image[block * 512 + (i ^ 3)] = blocks_[block][i];
  }
  return image;
}

void CardBuilder::WriteTo(const std::filesystem::path& path) const {
  std::vector<std::uint8_t> image = Bytes();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
}

std::array<std::uint8_t, 512> LogicalBlock(const std::vector<std::uint8_t>& image, int block) {
  std::array<std::uint8_t, 512> logical;
  for (int i = 0; i < 512; ++i) logical[i] = image[block * 512 + (i ^ 3)];
  return logical;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void OpenBuilt(CardImage& card, const CardBuilder& builder, const TempDir& dir,
               const std::string& name) {
  builder.WriteTo(dir / name);
  ASSERT_TRUE(OpenImageFile(card, (dir / name).string()));
}

bool ScriptedSlots::ReadSlotBlock(std::uint8_t slot, std::uint8_t block,
                                  std::span<std::uint8_t, kBlockSize> buffer) {
  ++read_calls;
  if (fail_next_reads > 0) {
    --fail_next_reads;
    return false;
  }
  if (fail_reads_of[block] > 0) {
    --fail_reads_of[block];
    return false;
  }
  std::copy_n(cards[slot].begin() + block * 512, 512, buffer.begin());
  ++reads_per_block[block];
  return true;
}

bool ScriptedSlots::WriteSlotBlock(std::uint8_t slot, std::uint8_t block,
                                   std::span<const std::uint8_t, kBlockSize> data) {
  ++write_calls;
  if (fail_next_writes > 0) {
    --fail_next_writes;
    return false;
  }
  if (fail_writes_of[block] > 0) {
    --fail_writes_of[block];
    return false;
  }
  std::copy(data.begin(), data.end(), cards[slot].begin() + block * 512);
  return true;
}

}  // namespace quorvel::test
