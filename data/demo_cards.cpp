// The demo cards: twelve saves of our own drawing and writing, and the card icon of card 2.
#include "demo_cards.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "card/block_io.h"
#include "card/bmp_file.h"
#include "card/card_icon_file.h"
#include "card/dci_file.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "card/work_files.h"

namespace quorvel::demo {
namespace {

using Palette = std::array<std::uint16_t, 16>;  // colour words 0xARGB
using Painter = std::function<int(int frame, int x, int y)>;

struct SaveSpec {
  std::string name;      // 12 characters
  std::string vmu_text;  // 16 characters on the VMU screen
  std::string dc_text;   // 32 characters in the console's file list
  int frames;
  int blocks;
  Palette palette;
  Painter paint;
  std::array<std::uint8_t, 8>
      stamp;  // BCD: century, year, month, day, hour, minute, second, weekday
  bool game = false;
};

constexpr std::size_t kHeaderIconCount = 0x40;
constexpr std::size_t kHeaderAnimationSpeed = 0x42;
constexpr std::size_t kHeaderCrc = 0x46;
constexpr std::size_t kHeaderDataSize = 0x48;
constexpr std::size_t kHeaderPalette = 0x60;
constexpr std::size_t kHeaderIcons = 0x80;
constexpr std::size_t kGameHeader = 0x200;

double Distance(double x, double y, double cx, double cy) { return std::hypot(x - cx, y - cy); }

void PutText(std::vector<std::uint8_t>& bytes, std::size_t at, const std::string& text,
             std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) bytes[at + i] = i < text.size() ? text[i] : ' ';
}

void PutLe(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The CRC the console keeps in a data save's header (CCITT polynomial, initial value 0).
std::uint16_t SaveCrc(const std::vector<std::uint8_t>& bytes) {
  std::uint16_t crc = 0;
  for (std::uint8_t byte : bytes) {
    crc ^= static_cast<std::uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>(crc & 0x8000 ? crc << 1 ^ 0x1021 : crc << 1);
    }
  }
  return crc;
}

// A short LC86K program for the game save: a jump over the interrupt vectors, each vector a
// return from interrupt, and a main loop that counts in a work register.
std::vector<std::uint8_t> GameCode() {
  std::vector<std::uint8_t> code(kGameHeader, 0x00);
  const std::vector<std::uint8_t> jump = {0x21, 0x00, 0x60};  // JMPF $0060
  std::copy(jump.begin(), jump.end(), code.begin());
  for (std::size_t vector = 0x03; vector <= 0x4B; vector += 8) code[vector] = 0xB0;  // RETI
  const std::vector<std::uint8_t> main = {
      0x23, 0x01, 0x00,  // $0060 MOV #00H,PSW
      0x23, 0x08, 0x80,  // $0063 MOV #80H,IE
      0x22, 0x30, 0x00,  // $0066 MOV #00H,fx30
      0x62, 0x30,        // $0069 INC fx30
      0x02, 0x30,        // $006B LD fx30
      0x81, 0x01,        // $006D ADD #01H
      0x13, 0x02,        // $006F ST B
      0x80, 0x02,        // $0071 BZ $0075
      0x01, 0xF4,        // $0073 BR $0069
      0x21, 0x00, 0x60,  // $0075 JMPF $0060
  };
  std::copy(main.begin(), main.end(), code.begin() + 0x60);
  return code;
}

// The save's bytes in the order of the card format: (code,) header, icons, its own data.
std::vector<std::uint8_t> SaveBytes(const SaveSpec& design) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(design.blocks) * kBlockSize);
  const std::size_t header = design.game ? kGameHeader : 0;
  if (design.game) {
    const auto code = GameCode();
    std::copy(code.begin(), code.end(), bytes.begin());
  }
  PutText(bytes, header, design.vmu_text, 16);
  PutText(bytes, header + 0x10, design.dc_text, 32);
  PutText(bytes, header + 0x30, "QUORVEL DEMO", 16);
  PutLe(bytes, header + kHeaderIconCount, design.frames, 2);
  PutLe(bytes, header + kHeaderAnimationSpeed, 10, 2);
  const std::size_t icons_end = header + kHeaderIcons + 512 * design.frames;
  PutLe(bytes, header + kHeaderDataSize, static_cast<std::uint32_t>(bytes.size() - icons_end), 4);
  for (std::size_t i = 0; i < 16; ++i)
    PutLe(bytes, header + kHeaderPalette + 2 * i, design.palette[i], 2);
  for (int f = 0; f < design.frames; ++f) {
    for (int y = 0; y < kIconSide; ++y) {
      for (int b = 0; b < kIconSide / 2; ++b) {
        bytes[header + kHeaderIcons + 512 * f + 16 * y + b] = static_cast<std::uint8_t>(
            (design.paint(f, 2 * b, y) & 0x0F) << 4 | (design.paint(f, 2 * b + 1, y) & 0x0F));
      }
    }
  }
  // The save's own data: a line of text, then a counting pattern.
  const std::string text = "Saved by the " + design.name + " demo of Quorvel.";
  for (std::size_t i = icons_end; i < bytes.size(); ++i) {
    const std::size_t n = i - icons_end;
    bytes[i] =
        n < text.size() ? static_cast<std::uint8_t>(text[n]) : static_cast<std::uint8_t>(n * 7);
  }
  if (!design.game) PutLe(bytes, kHeaderCrc, SaveCrc(bytes), 2);
  return bytes;
}

std::vector<std::uint8_t> Entry(const SaveSpec& design) {
  std::vector<std::uint8_t> entry(kDirEntrySize);
  entry[kEntryType] = design.game ? kGameType : 0x33;
  PutText(entry, kEntryName, design.name, kEntryNameSize);
  std::copy(design.stamp.begin(), design.stamp.end(), entry.begin() + kEntryTimeStamp);
  PutLe(entry, kEntrySize, design.blocks, 2);
  PutLe(entry, 0x1A, design.game ? 1 : 0, 2);
  return entry;
}

DemoSave MakeSave(const SaveSpec& design) {
  DemoSave save{design.name, Entry(design)};
  const auto bytes = SaveBytes(design);
  for (std::size_t o = 0; o < bytes.size(); ++o) save.dci.push_back(bytes[o ^ 3]);
  return save;
}

// Twelve icons, each a small animation.
int Rocket(int f, int x, int y) {
  const bool body = x >= 13 && x <= 18 && y >= 7 && y <= 22;
  const bool nose = y >= 2 && y < 7 && std::abs(2 * x - 31) <= (y - 2) * 2 + 1;
  if (Distance(x, y, 15.5, 12) <= 2) return 3;
  if (body || nose) return 1;
  if (y >= 17 && y <= 24 && (x == 11 || x == 12 || x == 19 || x == 20)) return 2;
  const int flame = 28 + 2 * f;
  if (y >= 23 && y <= flame && std::abs(2 * x - 31) <= (flame - y) + 1) return y > 25 ? 5 : 4;
  return (x * 7 + y * 13) % 61 == 0 ? 6 : 0;
}

int Ball(int f, int x, int y) {
  const std::array<int, 4> heights = {7, 13, 19, 23};
  const int cy = heights[f];
  if (Distance(x, y, 14, cy - 2) <= 1.5) return 3;
  if (Distance(x, y, 16, cy) <= 5) return 2;
  if (y >= 28) return 1;
  if (y == 27 && std::abs(x - 16) <= 2 + f) return 4;
  return 0;
}

int Garden(int f, int x, int y) {
  if (y >= 24 && x >= 10 && x <= 21 && std::abs(2 * x - 31) <= 11 - (y - 24) / 2) return 1;
  const int top = 18 - 6 * f;
  if (x >= 15 && x <= 16 && y >= top && y < 24) return 2;
  if (y == top + 3 && (x == 13 || x == 14 || x == 17 || x == 18)) return 3;
  if (f == 2 && Distance(x, y, 15.5, top - 2) <= 3) return (x + y) % 2 ? 4 : 5;
  return 0;
}

int Stars(int f, int x, int y) {
  const int size = f == 0 ? 5 : 8;
  const int dx = std::abs(x - 16);
  const int dy = std::abs(y - 15);
  if ((dx == 0 && dy <= size) || (dy == 0 && dx <= size) || (dx == dy && dx <= size / 2)) return 1;
  if ((x * 11 + y * 5) % 37 == 0) return f == 0 ? 2 : 3;
  return 0;
}

int Ghost(int /*frame*/, int x, int y) {
  if ((Distance(x, y, 12, 13) <= 2 || Distance(x, y, 20, 13) <= 2)) return 2;
  if (Distance(x, y, 16, 14) <= 9 && y <= 14) return 1;
  if (x >= 7 && x <= 25 && y > 14 && y <= 26 - ((x / 3) % 2) * 2) return 1;
  return 0;
}

int Cube(int f, int x, int y) {
  const double angle = f * std::numbers::pi / 8;
  const double px = x - 15.5;
  const double py = y - 15.5;
  const double rx = px * std::cos(angle) + py * std::sin(angle);
  const double ry = -px * std::sin(angle) + py * std::cos(angle);
  if (std::abs(rx) > 10 || std::abs(ry) > 10) return 0;
  if (std::abs(rx) > 9 || std::abs(ry) > 9) return 5;
  return 1 + (rx > 0 ? 1 : 0) + (ry > 0 ? 2 : 0);
}

bool InHeart(int f, int x, int y) {
  const double scale = f == 0 ? 11 : 13;
  const double u = (x - 15.5) / scale;
  const double v = (15 - y) / scale + 0.2;
  return std::pow(u * u + v * v - 1, 3) - u * u * v * v * v <= 0;
}

int Heart(int f, int x, int y) {
  if (!InHeart(f, x, y)) return 0;
  const bool edge = !InHeart(f, x - 1, y) || !InHeart(f, x + 1, y) || !InHeart(f, x, y - 1) ||
                    !InHeart(f, x, y + 1);
  return edge ? 2 : 1;
}

int Fish(int f, int x, int y) {
  const double cx = 10 + 5 * f;
  if (Distance(x, y, cx + 4, 14) <= 1) return 2;
  if (std::pow((x - cx) / 7.0, 2) + std::pow((y - 15) / 4.0, 2) <= 1) return 1;
  if (x < cx - 5 && x >= cx - 10 && std::abs(y - 15) <= (cx - 5 - x)) return 1;
  if (Distance(x, y, 26 - f, 8 - 2 * f) <= 1.2 || Distance(x, y, 24, 4 + f) <= 0.8) return 3;
  return y >= 29 ? 4 : 0;
}

int Clock(int f, int x, int y) {
  const double d = Distance(x, y, 15.5, 15.5);
  if (d > 14) return 0;
  if (d > 12.5) return 2;
  const double angle = f * std::numbers::pi / 2;
  for (double t = 0; t <= 10; t += 0.25) {
    if (Distance(x, y, 15.5 + t * std::sin(angle), 15.5 - t * std::cos(angle)) < 0.8) return 3;
  }
  for (double t = 0; t <= 6; t += 0.25) {
    if (Distance(x, y, 15.5 + t, 15.5) < 0.8) return 4;
  }
  return 1;
}

int Snowman(int /*frame*/, int x, int y) {
  if (Distance(x, y, 14, 8) <= 0.8 || Distance(x, y, 18, 8) <= 0.8) return 2;
  if (y == 10 && x >= 16 && x <= 19) return 3;
  if (Distance(x, y, 16, 9) <= 5 || Distance(x, y, 16, 21) <= 8) return 1;
  return y >= 28 ? 4 : 0;
}

int Canvas(int f, int x, int y) { return ((x + y) / 2 + 3 * f) % 16; }

int Maze(int f, int x, int y) {
  const std::array<std::array<int, 2>, 3> runner = {{{5, 5}, {5, 17}, {17, 25}}};
  if (Distance(x, y, runner[f][0] + 0.5, runner[f][1] + 0.5) <= 2) return 2;
  const bool outer = x <= 1 || y <= 1 || x >= 30 || y >= 30;
  const bool wall = (x == 10 && y < 22) || (y == 12 && x > 14) || (x == 22 && y > 18);
  return outer || wall ? 1 : 0;
}

const std::array<std::uint8_t, 8> kStamps[] = {
    {0x20, 0x24, 0x03, 0x14, 0x09, 0x26, 0x53, 0x04},
    {0x20, 0x24, 0x05, 0x01, 0x18, 0x00, 0x00, 0x03},
    {0x20, 0x25, 0x01, 0x31, 0x23, 0x59, 0x58, 0x05},
    {0x19, 0x99, 0x12, 0x31, 0x23, 0x59, 0x58, 0x05},
};

std::vector<SaveSpec> Card1Specs() {
  return {
      {"ROCKETGAME  ",
       "Rocket Game",
       "Rocket Game - a Quorvel demo",
       2,
       4,
       {0xF113, 0xFEEE, 0xFE22, 0xF4CF, 0xFF80, 0xFFE2, 0xFFFF},
       Rocket,
       kStamps[0],
       true},
      {"BOUNCE_BALL ",
       "Bouncing Ball",
       "A ball that never stops",
       4,
       5,
       {0xF9CF, 0xF3A3, 0xFE33, 0xFFFF, 0xF565},
       Ball,
       kStamps[1]},
      {"GARDEN_DIARY",
       "Garden Diary",
       "Day 12: the sunflower is out",
       3,
       6,
       {0xFDEF, 0xF852, 0xF3A3, 0xF5C5, 0xFFD2, 0xFF80},
       Garden,
       kStamps[2]},
      {"STAR_NIGHT  ",
       "Star Night",
       "Counting stars, 2 of 3",
       2,
       3,
       {0xF114, 0xFFE4, 0xFCCC, 0xF88F},
       Stars,
       kStamps[1]},
      {"GHOST_LAP_01",
       "Ghost Lap",
       "Best lap 1'23\"45",
       1,
       10,
       {0xF333, 0xFEEF, 0xF112},
       Ghost,
       kStamps[0]},
      {"PUZZLE_CUBE ",
       "Puzzle Cube",
       "Stage 7 of 9",
       4,
       5,
       {0xF222, 0xFE44, 0xF4E4, 0xF44E, 0xFEE4, 0xF000},
       Cube,
       kStamps[2]},
      {"HEART_BEAT  ",
       "Heart Beat",
       "Pet care: happy",
       2,
       3,
       {0xFFEE, 0xFE24, 0xF801},
       Heart,
       kStamps[3]},
  };
}

std::vector<SaveSpec> Card2Specs() {
  return {
      {"FISH_LOG_001",
       "Fishing Log",
       "Three trout and an old boot",
       3,
       4,
       {0xF25B, 0xFF82, 0xF000, 0xFCEF, 0xFA93},
       Fish,
       kStamps[1]},
      {"CLOCK_TOWER ",
       "Clock Tower",
       "Chapter 4: quarter past",
       4,
       8,
       {0xF456, 0xFFFE, 0xF888, 0xF111, 0xFC22},
       Clock,
       kStamps[2]},
      {"SNOWMAN     ",
       "Snowman",
       "Winter scene",
       1,
       2,
       {0xF8BF, 0xFFFF, 0xF111, 0xFF80, 0xFDDE},
       Snowman,
       kStamps[3]},
      {"PAINT_CANVAS",
       "Paint Canvas",
       "Sixteen colours, two frames",
       2,
       20,
       {0xF000, 0xF00F, 0xF0F0, 0xF0FF, 0xFF00, 0xFF0F, 0xFFF0, 0xFFFF, 0xF888, 0xF008, 0xF080,
        0xF088, 0xF800, 0xF808, 0xF880, 0xFCCC},
       Canvas,
       kStamps[0]},
      {"MAZE_RUNNER ",
       "Maze Runner",
       "Floor 3, no map yet",
       3,
       12,
       {0xF000, 0xF4C4, 0xFFE2},
       Maze,
       kStamps[1]},
  };
}

// The card icon of card 2: a ring with a tail, on white; the ring is dark on the VMU screen.
DemoSave CardIconSave() {
  IconImage colour;
  colour.SetColour(0, Bgr{0xF0, 0xF0, 0xF0});
  colour.SetColour(1, Bgr{0xC0, 0x40, 0x20});
  colour.SetColour(2, Bgr{0x20, 0xA0, 0xF0});
  for (int y = 0; y < kIconSide; ++y) {
    for (int x = 0; x < kIconSide; ++x) {
      const double d = Distance(x, y, 15.5, 14.5);
      const bool tail = x >= 18 && x <= 28 && std::abs((x - 18) - (y - 20)) <= 1;
      colour.SetPixel(x, y, d >= 8 && d <= 12 ? 1 : tail ? 2 : 0);
    }
  }
  IconImage monochrome = colour;
  SetDarkColours(monochrome, std::bitset<16>(0b110));
  const auto file = BuildCardIconFile(colour, monochrome, "Quorvel demo card");
  return {std::string(kCardIconSaveName), {file.begin(), file.end()}};
}

bool FormatImage(CardImage& card, const std::filesystem::path& path, std::string& error) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  std::filesystem::remove(path, ignored);
  if (!OpenImageFile(card, path.string()) || !FormatCard(card, 200) ||
      LoadCard(card) != LoadResult::kLoaded) {
    error = "cannot create a formatted card at " + path.string();
    return false;
  }
  return true;
}

}  // namespace

std::vector<DemoSave> DemoSaves(int card) {
  std::vector<DemoSave> saves;
  if (card == 2) saves.push_back(CardIconSave());
  for (const SaveSpec& design : card == 1 ? Card1Specs() : Card2Specs()) {
    saves.push_back(MakeSave(design));
  }
  return saves;
}

IconImage NoIconPicture() {
  // "N/A" in dark grey on light grey, in a frame.
  static constexpr std::array<const char*, 7> kGlyphs = {
      "X...X.....X..XXX.",  //
      "XX..X....X..X...X",  //
      "X.X.X....X..X...X",  //
      "X..XX...X...XXXXX",  //
      "X...X...X...X...X",  //
      "X...X..X....X...X",  //
      "X...X..X....X...X",
  };
  IconImage image;
  image.SetColour(0, Bgr{0xC8, 0xC8, 0xC8});
  image.SetColour(1, Bgr{0x40, 0x40, 0x40});
  for (int y = 0; y < kIconSide; ++y) {
    for (int x = 0; x < kIconSide; ++x) {
      const bool frame = x == 0 || y == 0 || x == kIconSide - 1 || y == kIconSide - 1;
      const int gx = x - 7;
      const int gy = y - 12;
      const bool glyph = gx >= 0 && gx < 17 && gy >= 0 && gy < 7 && kGlyphs[gy][gx] == 'X';
      image.SetPixel(x, y, frame || glyph ? 1 : 0);
    }
  }
  return image;
}

bool WriteDemoCards(const std::filesystem::path& dir, std::string& error) {
  for (int number : {1, 2}) {
    const auto path = dir / ("slot" + std::to_string(number) + ".dcm");
    CardImage card;
    if (!FormatImage(card, path, error)) return false;
    for (const DemoSave& save : DemoSaves(number)) {
      const DciImportResult result = ImportDciBytes(card, save.dci);
      if (!result.Imported() || LoadCard(card) != LoadResult::kLoaded) {
        error = "cannot add " + save.name + " to " + path.string() + ": " + DescribeImport(result);
        return false;
      }
    }
    CloseImageFile(card);
  }
  return true;
}

bool WriteDataFiles(const std::filesystem::path& dir, std::string& error) {
  CardImage card;
  const auto template_path = dir / kImageTemplateFile;
  if (!FormatImage(card, template_path, error)) return false;
  CloseImageFile(card);
  const auto picture_path = dir / kNoIconPictureFile;
  if (!WriteIconBmp(NoIconPicture(), picture_path)) {
    error = "cannot write " + picture_path.string();
    return false;
  }
  return true;
}

}  // namespace quorvel::demo
