// Recognising and converting the byte order of whole-card image files.
#include "card/image_order.h"

#include <algorithm>
#include <cctype>

#include "card/block_io.h"

namespace quorvel {
namespace {

std::uint16_t Le16(std::span<const std::uint8_t, kBlockSize> root, std::size_t offset) {
  return static_cast<std::uint16_t>(root[offset] | root[offset + 1] << 8);
}

bool HasFormatMarker(std::span<const std::uint8_t, kBlockSize> root) {
  return std::all_of(root.begin(), root.begin() + kRootMarkerSize,
                     [](std::uint8_t byte) { return byte == kRootMarkerByte; });
}

// How many of the root's layout fields read as a formatted card's (logical order).
int LayoutFieldsRight(std::span<const std::uint8_t, kBlockSize> root) {
  const std::uint16_t user_blocks = Le16(root, kRootUserBlocks);
  return (Le16(root, kRootFatLocation) == kFatBlock) +
         (Le16(root, kRootDirectoryLocation) == kDirectoryBlock) +
         (Le16(root, kRootDirectorySize) == kDirectoryBlocks) +
         (user_blocks >= kMinUserBlocks && user_blocks <= kLastDirectoryBlock);
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

ImageOrder OrderForName(const std::filesystem::path& path) {
  return LowerExtension(path) == ".dcm" ? ImageOrder::kLink : ImageOrder::kCard;
}

bool IsCardImageName(const std::filesystem::path& path) {
  const std::string extension = LowerExtension(path);
  return extension == ".dcm" || extension == ".bin" || extension == ".vmu" || extension == ".vmd";
}

RecognisedOrder RecogniseOrder(std::span<const std::uint8_t, kBlockSize> root,
                               const std::filesystem::path& path) {
  if (!HasFormatMarker(root)) return {OrderForName(path), OrderSource::kFileName};
  Block logical;
  std::copy(root.begin(), root.end(), logical.begin());
  const int as_card = LayoutFieldsRight(logical);
  ReverseGroups(logical);
  const int as_link = LayoutFieldsRight(logical);
  if (as_card == as_link) return {OrderForName(path), OrderSource::kNeither};
  return {as_card > as_link ? ImageOrder::kCard : ImageOrder::kLink, OrderSource::kRootBlock};
}

void ConvertImageOrder(std::span<std::uint8_t> image, ImageOrder from, ImageOrder to) {
  if (from == to) return;
  for (std::size_t at = 0; at + kBlockSize <= image.size(); at += kBlockSize) {
    ReverseGroups(image.subspan(at).first<kBlockSize>());
  }
}

}  // namespace quorvel
