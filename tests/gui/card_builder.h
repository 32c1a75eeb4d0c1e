// Builds card image files for the window tests: a formatted card with chosen saves, each with
// a chosen number of icon frames whose pictures differ, written in link order.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::test {

struct SaveSpec {
  std::string name;  // up to 12 characters
  int blocks = 1;
  int icons = 0;      // icon frames in the header
  bool game = false;  // a mini-game: starts at block 0, header in its second block
  std::array<std::uint8_t, 7> stamp = {0x19, 0x99, 0x10, 0x27, 0x04, 0x54, 0x52};
  std::string description = "";  // the header's first 48 bytes; "Test save NAME" when empty
};

class CardBuilder {
 public:
  explicit CardBuilder(int user_blocks = 200);

  // Adds a save in the next free directory slot; data saves fill blocks downwards from the top
  // of the user area, as the console does.
  CardBuilder& Add(const SaveSpec& save);
  // Marks the card as never formatted (FAT entries 0 and 1 read 0xFFFF).
  CardBuilder& Unformatted();

  // Sets one FAT entry (for cards with a damaged or unusual FAT).
  void SetFat(int block, std::uint16_t value);

  // The 131,072 bytes in link order.
  std::vector<std::uint8_t> LinkBytes() const;
  void Write(const std::filesystem::path& path) const;

 private:
  using Block = std::array<std::uint8_t, 512>;
  void Put16(Block& block, std::size_t offset, std::uint16_t value);

  std::vector<Block> blocks_;  // logical order
  int user_blocks_;
  int next_entry_ = 0;
  int next_top_;  // highest free data block
};

}  // namespace quorvel::test
