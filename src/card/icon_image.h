// IconImage: a 32 x 32 picture of one-byte palette indices with a 256-entry colour table, laid
// out exactly as the colour table and pixel array of an 8-bit BMP file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quorvel {

inline constexpr int kIconSide = 32;
inline constexpr std::size_t kIconPaletteEntries = 256;
inline constexpr std::size_t kIconPaletteBytes = kIconPaletteEntries * 3;  // 768
inline constexpr std::size_t kIconPixelBytes = kIconSide * kIconSide;      // 1024
inline constexpr std::size_t kIconImageBytes = kIconPaletteBytes + kIconPixelBytes;

// One colour as a BMP colour table stores it.
struct Bgr {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  friend bool operator==(const Bgr&, const Bgr&) = default;
};

// Bytes 0 to 767: palette entries of (blue, green, red). Bytes 768 to 1791: 32 rows of 32
// pixels, bottom row first; each pixel is a palette index.
struct IconImage {
  std::array<std::uint8_t, kIconImageBytes> bytes{};

  Bgr Colour(std::size_t index) const;
  void SetColour(std::size_t index, Bgr colour);

  // Pixel (x, y) with y counted from the top row.
  std::uint8_t Pixel(int x, int y) const { return bytes[PixelOffset(x, y)]; }
  void SetPixel(int x, int y, std::uint8_t index) { bytes[PixelOffset(x, y)] = index; }

  std::span<std::uint8_t, kIconPaletteBytes> Palette() {
    return std::span(bytes).first<kIconPaletteBytes>();
  }
  std::span<const std::uint8_t, kIconPaletteBytes> Palette() const {
    return std::span(bytes).first<kIconPaletteBytes>();
  }
  // The pixel array as a BMP stores it: bottom row first.
  std::span<std::uint8_t, kIconPixelBytes> Pixels() {
    return std::span(bytes).last<kIconPixelBytes>();
  }
  std::span<const std::uint8_t, kIconPixelBytes> Pixels() const {
    return std::span(bytes).last<kIconPixelBytes>();
  }

  static constexpr std::size_t PixelOffset(int x, int y) {
    return kIconPaletteBytes + static_cast<std::size_t>((kIconSide - 1 - y) * kIconSide + x);
  }
};

// A save icon colour word (bits 15-12 alpha, 11-8 red, 7-4 green, 3-0 blue) given as its low
// and high byte. Each 4-bit channel c becomes c << 4; alpha is dropped.
Bgr ColourFromWord(std::uint8_t low, std::uint8_t high);

// The colour word for `colour`: each channel keeps its high four bits, alpha is always 0xF.
std::uint16_t WordFromColour(Bgr colour);

}  // namespace quorvel
