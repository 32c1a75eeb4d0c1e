// Cards of our own making for the demo and the tests: a dozen saves over two cards with
// animated icons, a game with a short LC86K program and a card icon; also the program's data
// files (the empty-card template and the no-icon picture).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "card/icon_image.h"

namespace quorvel::demo {

// One save as a single-save file: its directory entry, then its blocks in link order.
struct DemoSave {
  std::string name;  // 12 characters
  std::vector<std::uint8_t> dci;
};

// The saves of demo card 1 or 2, in the order they are added.
std::vector<DemoSave> DemoSaves(int card);

// The picture the panes show for a save without an icon.
IconImage NoIconPicture();

// Writes DIR/slot1.dcm and DIR/slot2.dcm. False, with `error` set, on failure.
bool WriteDemoCards(const std::filesystem::path& dir, std::string& error);

// Writes DIR/dpnw.dc (an empty formatted card of 200 user blocks) and DIR/NA.bmp.
bool WriteDataFiles(const std::filesystem::path& dir, std::string& error);

}  // namespace quorvel::demo
