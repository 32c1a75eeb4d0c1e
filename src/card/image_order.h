// The two byte orders in which a whole card is kept in a file, and how the order of a file is
// recognised: a DCM file holds every block as the link carries it, a raw image (as emulators,
// SD-card tools and card readers keep it) in the card's own order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "host/block.h"

namespace quorvel {

enum class ImageOrder {
  kLink,  // as the link and DCM files carry blocks: each aligned 4-byte group reversed
  kCard,  // the card's own order, in which the root, FAT and directory are read
};

// The order a file name asks for: ".dcm" (any case) the link's order, anything else (".bin",
// ".vmu", ".vmd" ...) the card's own.
ImageOrder OrderForName(const std::filesystem::path& path);

// True for the names whole-card images go by: ".dcm", ".bin", ".vmu" and ".vmd" (any case).
bool IsCardImageName(const std::filesystem::path& path);

// How the byte order of a whole-card image was found.
enum class OrderSource {
  kRootBlock,  // the root block reads as a card's in exactly that order
  kFileName,   // the root holds no format marker (an unformatted card): the name decides
  kNeither,    // the root has the format marker, but neither order reads as a card's root
};

struct RecognisedOrder {
  ImageOrder order = ImageOrder::kLink;
  OrderSource found_by = OrderSource::kFileName;
  bool Recognised() const { return found_by != OrderSource::kNeither; }
};

// Recognises the order of a card image whose root block (block 255, as stored in the file) is
// `root`, named `path`. The root of a formatted card starts with sixteen 0x55 bytes (the same
// in either order) and gives the FAT at block 254, the directory at 253 and 13 blocks long,
// and 200 to 241 user blocks; the order in which more of these read right is the file's. A
// root without the marker is an unformatted card, whose order the name gives.
RecognisedOrder RecogniseOrder(std::span<const std::uint8_t, kBlockSize> root,
                               const std::filesystem::path& path);

// Brings every block of a whole-card image from one order into the other (nothing when the
// two are the same). `image` holds whole blocks.
void ConvertImageOrder(std::span<std::uint8_t> image, ImageOrder from, ImageOrder to);

}  // namespace quorvel
