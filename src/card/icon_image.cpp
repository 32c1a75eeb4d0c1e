// IconImage palette access and the conversion between save icon colour words and colours.
#include "card/icon_image.h"

namespace quorvel {

Bgr IconImage::Colour(std::size_t index) const {
  const std::size_t at = index * 3;
  return Bgr{bytes[at], bytes[at + 1], bytes[at + 2]};
}

void IconImage::SetColour(std::size_t index, Bgr colour) {
  const std::size_t at = index * 3;
  bytes[at] = colour.blue;
  bytes[at + 1] = colour.green;
  bytes[at + 2] = colour.red;
}

Bgr ColourFromWord(std::uint8_t low, std::uint8_t high) {
  return Bgr{static_cast<std::uint8_t>((low & 0x0F) << 4), static_cast<std::uint8_t>(low & 0xF0),
             static_cast<std::uint8_t>((high & 0x0F) << 4)};
}

std::uint16_t WordFromColour(Bgr colour) {
  return static_cast<std::uint16_t>(0xF000 | (colour.red >> 4) << 8 | (colour.green >> 4) << 4 |
                                    colour.blue >> 4);
}

}  // namespace quorvel
