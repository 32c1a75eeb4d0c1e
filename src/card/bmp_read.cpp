// Reading a 32 x 32 8-bit BMP into an IconImage by the offsets its own headers give: the
// Windows and OS/2 information headers, uncompressed or RLE8 pixels, either row order.
#include <algorithm>
#include <optional>

#include "card/bmp_file.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;  // OS/2 header: 16-bit sizes, 3-byte colours
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
// Large enough for any 32 x 32 8-bit picture, however generous its headers and gaps.
constexpr std::size_t kReadLimit = 1 << 20;

std::uint32_t Le(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

struct BmpLayout {
  std::uint32_t pixel_offset = 0;
  std::size_t table_offset = 0;
  std::size_t table_entry_size = 4;
  std::size_t table_entries = 256;
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top row first
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = kRgb;
};

std::optional<BmpLayout> ReadLayout(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kCoreHeaderSize || file[0] != 0x42 || file[1] != 0x4D) {
    return std::nullopt;
  }
  BmpLayout layout;
  layout.pixel_offset = Le(file, 10, 4);
  const std::uint32_t header_size = Le(file, 14, 4);
  if (header_size == kCoreHeaderSize) {
    layout.width = static_cast<std::int16_t>(Le(file, 18, 2));
    layout.height = static_cast<std::int16_t>(Le(file, 20, 2));
    layout.planes = Le(file, 22, 2);
    layout.bits = Le(file, 24, 2);
    layout.table_entry_size = 3;
  } else if (header_size >= kInfoHeaderSize && file.size() >= kFileHeaderSize + kInfoHeaderSize) {
    layout.width = static_cast<std::int32_t>(Le(file, 18, 4));
    layout.height = static_cast<std::int32_t>(Le(file, 22, 4));
    layout.planes = Le(file, 26, 2);
    layout.bits = Le(file, 28, 2);
    layout.compression = Le(file, 30, 4);
    const std::uint32_t colours_used = Le(file, 46, 4);
    if (colours_used != 0 && colours_used < 256) layout.table_entries = colours_used;
  } else {
    return std::nullopt;
  }
  layout.table_offset = kFileHeaderSize + header_size;
  // A table that the pixel data cuts short holds only the entries before the pixels.
  if (layout.pixel_offset >= layout.table_offset) {
    layout.table_entries =
        std::min(layout.table_entries,
                 (layout.pixel_offset - layout.table_offset) / layout.table_entry_size);
  }
  return layout;
}

bool IsIconShape(const BmpLayout& layout) {
  return layout.width == kIconSide && (layout.height == kIconSide || layout.height == -kIconSide) &&
         layout.planes == 1 && layout.bits == 8 &&
         (layout.compression == kRgb || (layout.compression == kRle8 && layout.height > 0));
}

// Copies stored rows into the bottom-up pixel array.
bool ReadRgbPixels(std::span<const std::uint8_t> file, const BmpLayout& layout, IconImage& image) {
  if (layout.pixel_offset + kIconPixelBytes > file.size()) return false;
  const auto stored = file.subspan(layout.pixel_offset, kIconPixelBytes);
  for (int row = 0; row < kIconSide; ++row) {
    const int bottom_up_row = layout.height > 0 ? row : kIconSide - 1 - row;
    std::copy_n(stored.begin() + row * kIconSide, kIconSide,
                image.Pixels().begin() + bottom_up_row * kIconSide);
  }
  return true;
}

// Decodes RLE8 runs into the bottom-up pixel array; pixels the runs skip stay 0.
bool ReadRle8Pixels(std::span<const std::uint8_t> file, const BmpLayout& layout, IconImage& image) {
  auto pixels = image.Pixels();
  std::fill(pixels.begin(), pixels.end(), 0);
  std::size_t at = layout.pixel_offset;
  int x = 0;
  int row = 0;
  auto put = [&](std::uint8_t index) {
    if (x >= kIconSide || row >= kIconSide) return false;
    pixels[row * kIconSide + x++] = index;
    return true;
  };
  while (at + 2 <= file.size()) {
    const std::uint8_t count = file[at];
    const std::uint8_t value = file[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        if (!put(value)) return false;
      }
    } else if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move right and up
      if (at + 2 > file.size()) return false;
      x += file[at];
      row += file[at + 1];
      at += 2;
    } else {  // `value` literal pixels, padded to an even count
      if (at + value > file.size()) return false;
      for (int i = 0; i < value; ++i) {
        if (!put(file[at + i])) return false;
      }
      at += value + (value & 1);
    }
  }
  return false;
}

}  // namespace

BmpReadResult DecodeIconBmp(std::span<const std::uint8_t> file, IconImage& image) {
  const std::optional<BmpLayout> layout = ReadLayout(file);
  if (!layout || !IsIconShape(*layout)) return BmpReadResult::kNotIconBmp;
  const std::size_t table_end =
      layout->table_offset + layout->table_entries * layout->table_entry_size;
  if (table_end > file.size()) return BmpReadResult::kNotIconBmp;

  IconImage decoded;
  for (std::size_t i = 0; i < layout->table_entries; ++i) {
    const std::size_t at = layout->table_offset + i * layout->table_entry_size;
    decoded.SetColour(i, Bgr{file[at], file[at + 1], file[at + 2]});
  }
  const bool pixels_read = layout->compression == kRle8 ? ReadRle8Pixels(file, *layout, decoded)
                                                        : ReadRgbPixels(file, *layout, decoded);
  if (!pixels_read) return BmpReadResult::kNotIconBmp;
  image = decoded;
  return BmpReadResult::kOk;
}

BmpReadResult ReadIconBmp(IconImage& image, const std::filesystem::path& path) {
  const auto file = ReadFileBytes(path, kReadLimit);
  if (!file) return BmpReadResult::kCannotRead;
  return DecodeIconBmp(*file, image);
}

}  // namespace quorvel
