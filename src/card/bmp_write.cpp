// The 2,102-byte BMP file of an IconImage: 54 bytes of headers, 1,024 of colour table and
// 1,024 of pixels.
#include <algorithm>

#include "card/bmp_file.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

void PutLe(std::span<std::uint8_t> out, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, kIconBmpSize> EncodeIconBmp(const IconImage& image) {
  std::array<std::uint8_t, kIconBmpSize> file{};
  file[0] = 0x42;
  file[1] = 0x4D;
  PutLe(file, 2, kIconBmpSize, 4);
  PutLe(file, 10, kIconBmpPixelOffset, 4);
  PutLe(file, 14, 40, 4);
  PutLe(file, 18, kIconSide, 4);
  PutLe(file, 22, kIconSide, 4);
  PutLe(file, 26, 1, 2);
  PutLe(file, 28, 8, 2);
  PutLe(file, 34, kIconPixelBytes, 4);
  for (std::size_t i = 0; i < kIconPaletteEntries; ++i) {
    const Bgr colour = image.Colour(i);
    file[54 + 4 * i] = colour.blue;
    file[55 + 4 * i] = colour.green;
    file[56 + 4 * i] = colour.red;
  }
  const auto pixels = image.Pixels();
  std::copy(pixels.begin(), pixels.end(), file.begin() + kIconBmpPixelOffset);
  return file;
}

bool WriteIconBmp(const IconImage& image, const std::filesystem::path& path) {
  return ReplaceFileContents(path, EncodeIconBmp(image));
}

}  // namespace quorvel
