// Fuzz target: the virtual link unit receiving arbitrary register traffic. The first byte
// picks the unit (two-slot or a paged card of two pages) and whether random faults are on;
// then pairs of bytes are register operations: a data or control write, a register read, a
// whole byte clocked in as the link does it, or a handshake. The unit never fails, never
// changes the size of a card file, and counts no more transactions than select pulses.
#include <string>

#include "card_support.h"
#include "fuzz_support.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel::fuzz {

std::vector<Bytes> virtual_unitFuzzSeeds() {
  // Handshake, command bytes 0x40 0x7E (get page), two data bytes and the checksum, end.
  const Bytes get_page = {0x00, 4,    0, 3,    0x40, 3,    0x7E, 3,   0x00,
                          3,    0x00, 3, 0x3E, 1,    0x00, 2,    0x01};
  // Handshake, card presence (0xA5 0xCC), one data byte, checksum, end.
  const Bytes presence = {0x00, 4, 0, 3, 0xA5, 3, 0xCC, 3, 0x00, 3, 0x69, 1, 0x00};
  Bytes paged = get_page;
  paged[0] = 0x01;
  Bytes faulty = presence;
  faulty[0] = 0x02;
  return {get_page, presence, paged, faulty, Bytes{0x00, 1, 0x01, 0, 0x03, 1, 0x00}};
}

namespace {

constexpr std::uint16_t kData = VirtualUnit::kDefaultBasePort;
constexpr std::uint16_t kStatus = kData + 1;
constexpr std::uint16_t kControl = kData + 2;

// Clocks `value` in most significant bit first, as the link's byte exchange does.
void ClockByte(VirtualUnit& unit, std::uint8_t value) {
  for (int bit = 7; bit >= 0; --bit) {
    const std::uint8_t data_bit = ((value >> bit) & 1) != 0 ? 0x02 : 0x00;
    unit.WritePort(kData, data_bit | 0x01);
    unit.WritePort(kData, data_bit);
    unit.WritePort(kData, data_bit | 0x01);
    unit.ReadPort(kStatus);
  }
}

// The card files as the last run left them: only a run in which the unit completed a
// command may have changed them, so the others reuse them as they are.
struct CardFiles {
  bool fresh[2] = {false, false};  // two-slot, paged
};
CardFiles card_files;

std::unique_ptr<VirtualUnit> MakeUnit(bool paged, std::uintmax_t& card_bytes) {
  std::string error;
  const std::filesystem::path dir = ScratchDir();
  bool& fresh = card_files.fresh[paged ? 1 : 0];
  if (paged) {
    card_bytes = 2 * kImageFileSize;
    if (!fresh) {
      Bytes pages = EmptyCardImage();
      pages.insert(pages.end(), EmptyCardImage().begin(), EmptyCardImage().end());
      WriteFile(dir / "paged.bin", pages);
    }
    fresh = true;
    return VirtualUnit::Paged(dir / "paged.bin", error);
  }
  card_bytes = kImageFileSize;
  if (!fresh) {
    WriteFile(dir / "slot1.dcm", EmptyCardImage());
    WriteFile(dir / "slot2.dcm", EmptyCardImage());
  }
  fresh = true;
  return VirtualUnit::TwoSlot(dir / "slot1.dcm", dir / "slot2.dcm", error);
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(virtual_unit, 4096) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  InputReader reader(input);
  const std::uint8_t setup = reader.Byte();
  std::uintmax_t card_bytes = 0;
  std::unique_ptr<VirtualUnit> unit = MakeUnit((setup & 0x01) != 0, card_bytes);
  Check(unit != nullptr, "the virtual unit could not be made");
  if ((setup & 0x02) != 0) unit->UseRandomFaults(setup, 3);

  std::uint64_t select_writes = 0;
  while (!reader.Empty()) {
    const std::uint8_t operation = reader.Byte();
    const std::uint8_t value = reader.Byte();
    switch (operation % 5) {
      case 0:
        unit->WritePort(kData, value);
        break;
      case 1:
        unit->WritePort(kControl, value);
        select_writes += value & 0x01;
        break;
      case 2:
        unit->ReadPort(static_cast<std::uint16_t>(kData + value % 4));
        break;
      case 3:
        ClockByte(*unit, value);
        break;
      default:
        unit->WritePort(kData, 0x01);
        unit->ReadPort(kStatus);
        unit->WritePort(kControl, 0x01);
        ++select_writes;
        unit->ReadPort(kStatus);
    }
  }
  unit->WritePort(kControl, 0x00);
  if (!unit->Counters().commands.empty()) card_files.fresh[setup & 0x01] = false;
  Check(unit->Transactions() <= select_writes, "more transactions than select pulses");
  Check(unit->FileErrors().empty(), "a card file could not be written");
  for (const char* name : {"slot1.dcm", "slot2.dcm", "paged.bin"}) {
    const std::filesystem::path file = ScratchDir() / name;
    if ((setup & 0x01) == (std::string(name) == "paged.bin" ? 1 : 0)) {
      Check(std::filesystem::file_size(file) == card_bytes, "a card file changed its size");
    }
  }
}
