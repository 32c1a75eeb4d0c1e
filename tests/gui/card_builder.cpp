// Card images for the window tests (see card_builder.h).
#include "gui/card_builder.h"

#include <algorithm>
#include <fstream>

namespace quorvel::test {

namespace {

constexpr int kRoot = 255;
constexpr int kFat = 254;
constexpr int kDir = 253;

}  // namespace

CardBuilder::CardBuilder(int user_blocks)
    : blocks_(256, Block{}), user_blocks_(user_blocks), next_top_(user_blocks - 1) {
  std::fill_n(blocks_[kRoot].begin(), 16, 0x55);  // formatted-card marker
  Put16(blocks_[kRoot], 0x46, kFat);
  Put16(blocks_[kRoot], 0x48, 1);
  Put16(blocks_[kRoot], 0x4A, kDir);
  Put16(blocks_[kRoot], 0x4C, 13);
  Put16(blocks_[kRoot], 0x50, static_cast<std::uint16_t>(user_blocks));
  for (int i = 0; i < 256; ++i) SetFat(i, 0xFFFC);
  SetFat(kRoot, 0xFFFA);
  SetFat(kFat, 0xFFFA);
  for (int b = kDir; b > 241; --b) SetFat(b, static_cast<std::uint16_t>(b - 1));
  SetFat(241, 0xFFFA);
}

void CardBuilder::Put16(Block& block, std::size_t offset, std::uint16_t value) {
  block[offset] = static_cast<std::uint8_t>(value & 0xFF);
  block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void CardBuilder::SetFat(int block, std::uint16_t value) {
  Put16(blocks_[kFat], static_cast<std::size_t>(2 * block), value);
}

CardBuilder& CardBuilder::Unformatted() {
  SetFat(0, 0xFFFF);
  SetFat(1, 0xFFFF);
  return *this;
}

CardBuilder& CardBuilder::Add(const SaveSpec& save) {
  std::vector<int> chain;
  if (save.game) {
    for (int b = 0; b < save.blocks; ++b) chain.push_back(b);
  } else {
    for (int b = 0; b < save.blocks; ++b) chain.push_back(next_top_--);
  }
  for (std::size_t i = 0; i < chain.size(); ++i) {
    SetFat(chain[i], i + 1 < chain.size() ? static_cast<std::uint16_t>(chain[i + 1]) : 0xFFFA);
  }
  const int header_block = save.game ? chain.at(1) : chain.front();

  const int entry_index = next_entry_++;
  Block& dir = blocks_[kDir - entry_index / 16];
  std::uint8_t* entry = dir.data() + 32 * (entry_index % 16);
  entry[0x00] = save.game ? 0xCC : 0x33;
  entry[0x02] = static_cast<std::uint8_t>(chain.front());
  std::string name = save.name;
  name.resize(12, ' ');
  std::copy(name.begin(), name.end(), entry + 0x04);
  std::copy(save.stamp.begin(), save.stamp.end(), entry + 0x10);
  entry[0x18] = static_cast<std::uint8_t>(save.blocks);
  entry[0x1A] = save.game ? 1 : 0;

  Block& header = blocks_[header_block];
  const std::string description =
      save.description.empty() ? "Test save " + save.name : save.description.substr(0, 48);
  std::copy(description.begin(), description.end(), header.begin());
  Put16(header, 0x40, static_cast<std::uint16_t>(save.icons));
  // Palette: colour k is a grey whose level follows k, fully opaque.
  for (int k = 0; k < 16; ++k) {
    Put16(header, 0x60 + 2 * k, static_cast<std::uint16_t>(0xF000 | (k << 8) | (k << 4) | k));
  }
  // Frame f is filled with palette index (f + 1) & 15 so that each frame looks different; a
  // frame takes 512 bytes from 0x80 of the header block on, along the save's chain.
  const std::size_t header_pos =
      static_cast<std::size_t>(std::find(chain.begin(), chain.end(), header_block) - chain.begin());
  for (int f = 0; f < save.icons; ++f) {
    const std::uint8_t nibbles = static_cast<std::uint8_t>(((f + 1) & 15) * 0x11);
    for (std::size_t i = 0; i < 512; ++i) {
      const std::size_t at = 0x80 + 512 * static_cast<std::size_t>(f) + i;
      const std::size_t pos = header_pos + at / 512;
      if (pos < chain.size()) blocks_[chain[pos]][at % 512] = nibbles;
    }
  }
  return *this;
}

std::vector<std::uint8_t> CardBuilder::LinkBytes() const {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(256 * 512);
  for (const Block& block : blocks_) {
    for (std::size_t i = 0; i < block.size(); ++i) bytes.push_back(block[i ^ 3]);
  }
  return bytes;
}

void CardBuilder::Write(const std::filesystem::path& path) const {
  const std::vector<std::uint8_t> bytes = LinkBytes();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace quorvel::test
