// A save's icon frames from its blocks on a card: the palette from its header block and each
// frame's pixels from the blocks that follow along the FAT chain, as IconImages or BMP files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

#include "card/card_image.h"
#include "card/icon_image.h"

namespace quorvel {

// The file the panes export each frame to before loading it, in the working directory.
inline constexpr std::string_view kPaneIconFile = "Bmp.bmp";

// True when the save in directory slot `entry` has a frame `frame` to show: an icon count
// above `frame` and a size other than 0.
bool HasIconFrame(const CardImage& card, std::size_t entry, std::size_t frame);

// Palette entries 0 to 15 of `image` from the save's header block (the first block of a data
// save, the second of a game).
void ReadIconPalette(CardImage& card, std::size_t entry, IconImage& image);

// Frame `frame` of the save's icon, palette included. False (and `image` unchanged) when the
// save has no such frame or a block could not be read.
bool DecodeIconFrame(CardImage& card, std::size_t entry, std::size_t frame, IconImage& image);

// Every frame of the save's icon, reading each block once; empty when it has none or a block
// could not be read.
std::vector<IconImage> DecodeIconFrames(CardImage& card, std::size_t entry);

// Writes frame `frame` of the save's icon as a 2,102-byte BMP to `path`. False when the save
// has no such frame, a block could not be read or the file could not be written.
bool ExportIconFrame(CardImage& card, std::size_t entry, std::size_t frame,
                     const std::filesystem::path& path);

}  // namespace quorvel
