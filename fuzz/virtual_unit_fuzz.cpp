// Fuzz target: the virtual link unit receiving arbitrary register traffic. The first byte
// picks the unit (two-slot or a paged card of two pages) and whether random faults are on;
// then pairs of bytes are register operations: a data or control write, a register read, a
// whole byte clocked in as the link does it, or a handshake. The unit never fails, never
// changes the size of a card file, and counts no more transactions than select pulses.
#include <optional>
#include <string>
#include <utility>

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

// The cards, held in memory, as the last run left them: handed to each run's unit and taken
// back afterwards, so that no run allocates or clears a card it need not. Only a run in which
// the unit completed a command may have changed them; the next one starts from empty cards.
struct Cards {
  Bytes slots[2];
  Bytes pages;
  bool changed[2] = {true, true};  // two-slot, paged
};
Cards cards;

std::unique_ptr<VirtualUnit> MakeUnit(bool paged, std::size_t& card_bytes) {
  std::string error;
  const Bytes& empty = EmptyCardImage();
  bool& changed = cards.changed[paged ? 1 : 0];
  if (paged) {
    card_bytes = 2 * kImageFileSize;
    if (changed) {
      cards.pages.resize(card_bytes);
      std::copy(empty.begin(), empty.end(), cards.pages.begin());
      std::copy(empty.begin(), empty.end(), cards.pages.begin() + kImageFileSize);
    }
    changed = false;
    return VirtualUnit::PagedInMemory(std::move(cards.pages), error);
  }
  card_bytes = kImageFileSize;
  if (changed) {
    for (Bytes& slot : cards.slots) slot = empty;
  }
  changed = false;
  return VirtualUnit::TwoSlotInMemory(std::move(cards.slots[0]), std::move(cards.slots[1]), error);
}

// Takes the unit's cards back for the next run; each must have kept its size.
void TakeCardsBack(VirtualUnit& unit, bool paged, std::size_t card_bytes) {
  for (std::size_t slot = 0; slot < (paged ? 1u : 2u); ++slot) {
    std::optional<CardFile> card = unit.TakeCard(slot);
    Check(card.has_value(), "a card went out of the unit");
    Bytes bytes = std::move(*card).TakeBytes();
    Check(bytes.size() == card_bytes, "a card file changed its size");
    (paged ? cards.pages : cards.slots[slot]) = std::move(bytes);
  }
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(virtual_unit, 4096) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  InputReader reader(input);
  const std::uint8_t setup = reader.Byte();
  std::size_t card_bytes = 0;
  const bool paged = (setup & 0x01) != 0;
  std::unique_ptr<VirtualUnit> unit = MakeUnit(paged, card_bytes);
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
  if (!unit->Counters().commands.empty()) cards.changed[paged ? 1 : 0] = true;
  Check(unit->Transactions() <= select_writes, "more transactions than select pulses");
  Check(unit->FileErrors().empty(), "a card file could not be written");
  TakeCardsBack(*unit, paged, card_bytes);
}
