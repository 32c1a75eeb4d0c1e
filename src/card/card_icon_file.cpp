// Building the ICONDATA_VMS single-save file from a colour picture and a monochrome source.
#include "card/card_icon_file.h"

#include <algorithm>
#include <span>
#include <string>

#include "card/work_files.h"

namespace quorvel {
namespace {

constexpr std::size_t kEntrySize = 32;
constexpr std::size_t kDataSize = kCardIconFileSize - kEntrySize;  // two blocks
constexpr std::size_t kDescriptionBytes = kCardIconNameLength;
constexpr std::size_t kMonochromeOffset = 0x20;
constexpr std::size_t kPaletteOffset = 0xA0;
constexpr std::size_t kBitmapOffset = 0xC0;
constexpr std::size_t kFillerOffset = 0x2C0;
constexpr std::uint8_t kFiller = 0x1A;

constexpr std::array<std::uint8_t, kEntrySize> kEntry = {
    0x33, 0x00, 0xC7, 0x00,                                              // data, block 199
    'I',  'C',  'O',  'N',  'D',  'A',  'T',  'A',  '_', 'V', 'M', 'S',  // name
    0x19, 0x98, 0x12, 0x12, 0x00, 0x00, 0x00, 0x05,                      // 1998-12-12
    0x02, 0x00, 0x00, 0x00,                                              // 2 blocks
    0x00, 0x00, 0x00, 0x00};

std::uint8_t Nibble(const IconImage& image, int x, int y) { return image.Pixel(x, y) & 0x0F; }

bool IsDark(const IconImage& monochrome, int x, int y) {
  return monochrome.Colour(Nibble(monochrome, x, y)) == Bgr{0, 0, 0};
}

void PutLe32(std::span<std::uint8_t> data, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The save's two blocks in the order of the card format.
std::array<std::uint8_t, kDataSize> BuildSaveData(const IconImage& colour,
                                                  const IconImage& monochrome,
                                                  std::string_view name) {
  std::array<std::uint8_t, kDataSize> data{};
  std::string description(name.substr(0, std::min(name.size(), kDescriptionBytes)));
  description.resize(kDescriptionBytes, ' ');
  std::copy(description.begin(), description.end(), data.begin());
  PutLe32(data, 0x10, kMonochromeOffset);
  PutLe32(data, 0x14, kPaletteOffset);
  for (int y = 0; y < kIconSide; ++y) {
    for (int x = 0; x < kIconSide; ++x) {
      if (IsDark(monochrome, x, y)) data[kMonochromeOffset + 4 * y + x / 8] |= 0x80 >> (x % 8);
    }
  }
  for (std::size_t i = 0; i < 16; ++i) {
    const std::uint16_t word = WordFromColour(colour.Colour(i));
    data[kPaletteOffset + 2 * i] = static_cast<std::uint8_t>(word);
    data[kPaletteOffset + 2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
  }
  for (int y = 0; y < kIconSide; ++y) {
    for (int b = 0; b < kIconSide / 2; ++b) {
      data[kBitmapOffset + 16 * y + b] =
          static_cast<std::uint8_t>(Nibble(colour, 2 * b, y) << 4 | Nibble(colour, 2 * b + 1, y));
    }
  }
  std::fill(data.begin() + kFillerOffset, data.end(), kFiller);
  return data;
}

}  // namespace

void SetDarkColours(IconImage& monochrome, std::bitset<16> dark) {
  for (std::size_t i = 0; i < 16; ++i) {
    monochrome.SetColour(i, dark[i] ? Bgr{0, 0, 0} : Bgr{0xFF, 0xFF, 0xFF});
  }
}

std::array<std::uint8_t, kCardIconFileSize> BuildCardIconFile(const IconImage& colour,
                                                              const IconImage& monochrome,
                                                              std::string_view name) {
  std::array<std::uint8_t, kCardIconFileSize> file{};
  std::copy(kEntry.begin(), kEntry.end(), file.begin());
  const auto data = BuildSaveData(colour, monochrome, name);
  // Link order: the byte at save offset o goes to o XOR 3.
  for (std::size_t o = 0; o < kDataSize; ++o) file[kEntrySize + (o ^ 3)] = data[o];
  return file;
}

std::optional<std::string> CardIconNameBytes(std::u32string_view name, std::u32string& unstorable) {
  unstorable.clear();
  std::string bytes;
  for (const char32_t c : name.substr(0, std::min(name.size(), kDescriptionBytes))) {
    if (c > 0xFF) {
      if (unstorable.find(c) == std::u32string::npos) unstorable += c;
    } else {
      bytes += static_cast<char>(c);
    }
  }
  if (!unstorable.empty()) return std::nullopt;
  return bytes;
}

bool WriteCardIconFile(const IconImage& colour, const IconImage& monochrome, std::string_view name,
                       const std::filesystem::path& path) {
  return ReplaceFileContents(path, BuildCardIconFile(colour, monochrome, name));
}

}  // namespace quorvel
