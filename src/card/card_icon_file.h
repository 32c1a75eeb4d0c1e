// The card's own icon save "ICONDATA_VMS" as a 1,056-byte single-save file: its directory
// entry, a description, a monochrome icon for the VMU screen and a 16-colour icon.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "card/icon_image.h"

namespace quorvel {

inline constexpr std::size_t kCardIconFileSize = 1056;
inline constexpr std::string_view kCardIconSaveName = "ICONDATA_VMS";
inline constexpr std::string_view kDefaultCardIconName = "No Name";
// The description of the card icon save holds this many characters.
inline constexpr std::size_t kCardIconNameLength = 16;
// The working file the card icon save is built in, in the working directory.
inline constexpr std::string_view kCardIconWorkFile = "~ico._";
// The monochrome preview picture of the colour dialog, in the working directory.
inline constexpr std::string_view kMonochromePreviewFile = "~ico2.bmp";

// The icon's name as the card stores it: one byte per character, the way the panes read a
// card's texts back, so only U+0000 to U+00FF can be stored. Only the characters that reach
// the file (the first 16) count. Nothing when one of them cannot be stored; `unstorable` then
// holds each such character once, in order.
std::optional<std::string> CardIconNameBytes(std::u32string_view name, std::u32string& unstorable);

// Palette entries 0 to 15 of the monochrome source: black where `dark` has the bit set,
// white elsewhere.
void SetDarkColours(IconImage& monochrome, std::bitset<16> dark);

// The file bytes: directory entry (logical order), then the save's two blocks in link order.
// `colour` gives the colour icon, `monochrome` the VMU picture (a pixel is dark when its
// palette entry, index taken modulo 16, is exactly black); `name` the description.
std::array<std::uint8_t, kCardIconFileSize> BuildCardIconFile(const IconImage& colour,
                                                              const IconImage& monochrome,
                                                              std::string_view name);

// Writes BuildCardIconFile(...) to `path`; false when the file could not be written.
bool WriteCardIconFile(const IconImage& colour, const IconImage& monochrome, std::string_view name,
                       const std::filesystem::path& path);

}  // namespace quorvel
