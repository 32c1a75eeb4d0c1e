// The virtual link unit: a PortIo that answers at the register level like the two-slot unit
// or a paged card (or like a port with nothing attached), with cards backed by image files,
// counters, a record of every protocol rule the PC side broke, and fault injection.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "port/port_io.h"
#include "virtualunit/unit_logic.h"

namespace quorvel {

enum class FaultKind {
  kNoAnswer,         // the unit keeps its line low: the handshake times out
  kWrongSync,        // the sync reply is sync_first, sync_second
  kWrongChecksum,    // the checksum reply is XORed with checksum_xor (0x01: bit 0 only)
  kFlipSentBit,      // bit `bit` of data byte `byte` the unit sends flips on the line
  kFlipReceivedBit,  // bit `bit` of byte `byte` after the command bytes flips on its way in
  kSlowHandshake,    // the line rises only on the status poll after `polls` polls
};

struct Fault {
  FaultKind kind = FaultKind::kNoAnswer;
  std::uint8_t sync_first = 0xA9;
  std::uint8_t sync_second = 0x56;
  std::uint8_t checksum_xor = 0x80;
  std::size_t byte = 0;
  int bit = 0;
  int polls = 0;
};

class VirtualUnit : public PortIo {
 public:
  static constexpr std::uint16_t kDefaultBasePort = 0x378;

  // The two-slot unit with DIR/slot1.dcm and DIR/slot2.dcm (a missing file is an empty
  // slot). Returns null and says why in `error` when DIR is missing or a file is unusable.
  // A file another program holds is an empty slot until that program lets it go (InUse()).
  // `access` says whether the cards are only read (see CardFile::Load).
  static std::unique_ptr<VirtualUnit> TwoSlotFromFolder(
      const std::filesystem::path& dir, std::string& error,
      std::uint16_t base_port = kDefaultBasePort,
      CardFileAccess access = CardFileAccess::kReadWrite);
  // The two-slot unit with the given card files (nullopt: empty slot).
  static std::unique_ptr<VirtualUnit> TwoSlot(const std::optional<std::filesystem::path>& slot1,
                                              const std::optional<std::filesystem::path>& slot2,
                                              std::string& error,
                                              std::uint16_t base_port = kDefaultBasePort,
                                              CardFileAccess access = CardFileAccess::kReadWrite);
  // A paged card: one file of 2, 4, 8 or 16 pages of 131,072 bytes.
  static std::unique_ptr<VirtualUnit> Paged(const std::filesystem::path& file, std::string& error,
                                            std::uint16_t base_port = kDefaultBasePort,
                                            CardFileAccess access = CardFileAccess::kReadWrite);
  // The same units with cards held in memory (CardFile::InMemory): nothing touches the file
  // system. Null, with the reason in `error`, when a card has the wrong number of pages.
  static std::unique_ptr<VirtualUnit> TwoSlotInMemory(
      std::optional<std::vector<std::uint8_t>> slot1,
      std::optional<std::vector<std::uint8_t>> slot2, std::string& error,
      std::uint16_t base_port = kDefaultBasePort);
  static std::unique_ptr<VirtualUnit> PagedInMemory(std::vector<std::uint8_t> pages,
                                                    std::string& error,
                                                    std::uint16_t base_port = kDefaultBasePort);
  // A port with nothing on it: the status line floats high and nothing ever answers.
  static std::unique_ptr<VirtualUnit> NothingAttached(std::uint16_t base_port = kDefaultBasePort);

  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;

  // Faults. Transactions are numbered from 1 in the order the select line rises;
  // Transactions() is the number of the last one.
  void InjectFault(std::uint64_t transaction, const Fault& fault);
  // From now on every transaction without a chosen fault gets a random one with a chance of
  // 1 in `one_in`, drawn from a generator seeded with `seed` (so runs repeat exactly).
  void UseRandomFaults(std::uint32_t seed, std::uint32_t one_in);
  // Drops every fault not reached yet, chosen or random: the unit answers faithfully again.
  void ClearFaults();
  // After `transactions` more transactions the slot's card goes away, or the file's card is
  // put in. The file is loaded now; false (with the reason) when it is unusable.
  void RemoveCardAfter(std::size_t slot, std::uint64_t transactions);
  bool InsertCardAfter(std::size_t slot, const std::filesystem::path& file,
                       std::uint64_t transactions, std::string& error);

  // Takes the slot's card out at once and hands it over (nothing when the slot is empty).
  std::optional<CardFile> TakeCard(std::size_t slot) {
    return std::exchange(logic_.Card(slot), {});
  }

  UnitKind Kind() const { return logic_.Kind(); }
  bool HasCard(std::size_t slot) const { return logic_.Card(slot).has_value(); }
  // The card in the slot can only be read: its file may not be written.
  bool CardReadOnly(std::size_t slot) const {
    return HasCard(slot) && logic_.Card(slot)->ReadOnly();
  }
  // The file of the card in the slot (empty without a card).
  std::string CardPath(std::size_t slot) const {
    return HasCard(slot) ? logic_.Card(slot)->Path().string() : std::string();
  }
  // "FILE: in use by another program" while the slot's card file is held by another program
  // (the slot is empty until it is let go), else empty.
  const std::string& InUse(std::size_t slot) const { return in_use_[slot].text; }
  std::string InUsePath(std::size_t slot) const {
    return in_use_[slot].path ? in_use_[slot].path->string() : std::string();
  }
  std::size_t Pages() const;
  std::uint16_t Page() const { return logic_.Page(); }
  std::optional<std::uint8_t> Stored16MPage() const { return logic_.Stored16MPage(); }
  std::uint64_t Transactions() const { return counters_.transactions; }
  const UnitCounters& Counters() const { return counters_; }
  // Every rule the PC side broke, one line each, in order.
  const std::vector<std::string>& Violations() const { return violations_; }
  // Card files that could not be written.
  const std::vector<std::string>& FileErrors() const { return logic_.FileErrors(); }

 private:
  VirtualUnit(UnitKind kind, std::uint16_t base_port);

  bool Answering() const;
  // The line before the select of `transaction`: high when the unit is ready for it.
  bool ReadyLine(std::uint64_t transaction, bool count_poll);
  std::optional<Fault> FaultFor(std::uint64_t transaction);
  void OnControlWrite(std::uint8_t value);
  void OnDataWrite(std::uint8_t value);
  void StartTransaction();
  void EndTransaction();
  void ApplyCardEvents();
  // Before each transaction: cards whose files changed underneath go out, files another
  // program let go come in.
  void CheckCardFiles();
  void Violation(const std::string& text);

  std::uint16_t data_port_, status_port_, control_port_;
  UnitCounters counters_;
  std::vector<std::string> violations_;
  UnitLogic logic_;

  std::uint8_t data_ = 0;
  std::uint8_t control_ = 0;
  bool selected_ = false;
  bool accepted_ = false;  // the unit answered the handshake of this transaction
  bool line_ = false;      // status bit 6 inside a transaction
  int idle_polls_ = 0;     // status polls since the last transaction ended
  std::uint8_t reply_ = 0;
  std::uint8_t received_ = 0;
  int bits_ = 0;
  bool framing_reported_ = false;  // one framing violation per transaction is enough

  std::map<std::uint64_t, Fault> faults_;
  std::optional<std::mt19937> random_;
  std::uint32_t random_one_in_ = 0;
  std::uint64_t random_rolled_ = 0;  // transactions already given their random roll

  struct CardEvent {
    std::uint64_t at_transaction;
    std::size_t slot;
    std::optional<CardFile> card;  // nullopt: removal
  };
  std::vector<CardEvent> card_events_;

  struct HeldFile {
    std::optional<std::filesystem::path> path;  // set while another program holds it
    std::string text;
  };
  std::array<HeldFile, 2> in_use_;
  CardFileAccess access_ = CardFileAccess::kReadWrite;
};

}  // namespace quorvel
