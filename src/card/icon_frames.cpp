// Icon frames of a save read along its FAT chain, each needed block read once.
#include "card/icon_frames.h"

#include <map>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/file_system.h"
#include "card/icon_decode.h"

namespace quorvel {
namespace {

// The blocks of the save's chain from its header block on: header, then one per step. A step
// past the end of the chain stays on the last block, so a chain shorter than the icon needs
// repeats its last block. A chain that cannot begin (its first block is marked free) stays on
// that block.
std::vector<std::uint8_t> IconBlocks(CardImage& card, const SaveRecord& save, std::size_t steps) {
  std::uint8_t block = save.first_block;
  ChainCursor cursor;
  const bool walking = ChainBegin(card, block, cursor);
  auto step = [&] {
    if (walking) ChainNext(card, cursor, block);
  };
  if (save.header_in_second_block) step();
  std::vector<std::uint8_t> blocks = {block};
  for (std::size_t i = 0; i < steps; ++i) {
    step();
    blocks.push_back(block);
  }
  return blocks;
}

// Reads each distinct block of `numbers` once.
bool ReadBlocks(CardImage& card, const std::vector<std::uint8_t>& numbers,
                std::map<std::uint8_t, Block>& blocks) {
  for (std::uint8_t number : numbers) {
    if (blocks.contains(number)) continue;
    if (!ReadBlock(card, number, blocks[number])) return false;
  }
  return true;
}

// Frame k lies in chain blocks k (rows 0-23) and k + 1 (rows 24-31) counted from the header.
void DecodeFrame(const std::vector<std::uint8_t>& chain, std::map<std::uint8_t, Block>& blocks,
                 std::size_t frame, IconImage& image) {
  DecodeIconPalette(blocks.at(chain[0]), image);
  DecodeIconUpperRows(blocks.at(chain[frame]), image);
  DecodeIconLowerRows(blocks.at(chain[frame + 1]), image);
}

}  // namespace

bool HasIconFrame(const CardImage& card, std::size_t entry, std::size_t frame) {
  if (entry >= card.records.size()) return false;
  const SaveRecord& save = card.records[entry];
  return frame < save.icon_count && save.size != 0;
}

void ReadIconPalette(CardImage& card, std::size_t entry, IconImage& image) {
  const auto chain = IconBlocks(card, card.records[entry], 0);
  Block header{};
  ReadBlock(card, chain[0], header);
  DecodeIconPalette(header, image);
}

bool DecodeIconFrame(CardImage& card, std::size_t entry, std::size_t frame, IconImage& image) {
  if (!HasIconFrame(card, entry, frame)) return false;
  const auto chain = IconBlocks(card, card.records[entry], frame + 1);
  std::map<std::uint8_t, Block> blocks;
  if (!ReadBlocks(card, {chain[0], chain[frame], chain[frame + 1]}, blocks)) return false;
  DecodeFrame(chain, blocks, frame, image);
  return true;
}

std::vector<IconImage> DecodeIconFrames(CardImage& card, std::size_t entry) {
  if (!HasIconFrame(card, entry, 0)) return {};
  const std::size_t count = card.records[entry].icon_count;
  const auto chain = IconBlocks(card, card.records[entry], count);
  std::map<std::uint8_t, Block> blocks;
  if (!ReadBlocks(card, chain, blocks)) return {};
  std::vector<IconImage> frames(count);
  for (std::size_t k = 0; k < count; ++k) DecodeFrame(chain, blocks, k, frames[k]);
  return frames;
}

bool ExportIconFrame(CardImage& card, std::size_t entry, std::size_t frame,
                     const std::filesystem::path& path) {
  IconImage image;
  return DecodeIconFrame(card, entry, frame, image) && WriteIconBmp(image, path);
}

}  // namespace quorvel
