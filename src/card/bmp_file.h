// The icon picture files: the program's own 2,102-byte 8-bit BMP of an IconImage, and the
// reader that takes any uncompressed or RLE8 32 x 32 8-bit BMP into an IconImage.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "card/icon_image.h"

namespace quorvel {

inline constexpr std::size_t kIconBmpSize = 2102;
inline constexpr std::size_t kIconBmpPixelOffset = 1078;

// Shown when a picture chosen as a card icon is not a 32 x 32 8-bit BMP.
inline constexpr std::string_view kBmpFormatMessage =
    " BMP 檔案類型必須是 32 x 32 像素, 256 調色板和 8-bits 格式.";

// The file bytes of `image`: headers, 256-entry colour table, pixels bottom row first.
std::array<std::uint8_t, kIconBmpSize> EncodeIconBmp(const IconImage& image);

// Writes EncodeIconBmp(image) to `path`; false when the file could not be written.
bool WriteIconBmp(const IconImage& image, const std::filesystem::path& path);

enum class BmpReadResult {
  kOk,
  kCannotRead,  // the file cannot be opened or read
  kNotIconBmp,  // not a 32 x 32 8-bit BMP (or damaged)
};

// Fills `image` from the BMP bytes in `file`, following the file's own header offsets; on
// any result but kOk, `image` is left as it was. Palette entries the file does not give are 0.
BmpReadResult DecodeIconBmp(std::span<const std::uint8_t> file, IconImage& image);

BmpReadResult ReadIconBmp(IconImage& image, const std::filesystem::path& path);

}  // namespace quorvel
