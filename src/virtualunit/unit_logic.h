// The command side of the virtual link unit: it takes the bytes the PC clocks in, one
// exchange at a time, and decides the byte it presents in the next exchange, checking the
// framing, the echoes and the checksum as the hardware does, and carrying out each command
// on its cards once the command completed.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "virtualunit/card_file.h"

namespace quorvel {

enum class UnitKind { kNothing, kTwoSlot, kPaged };

// What the unit counts, for tests and for "--stats".
struct UnitCounters {
  std::uint64_t transactions = 0;                 // select pulses seen
  std::map<std::string, std::uint64_t> commands;  // completed commands, by name
  std::uint64_t port_reads = 0;
  std::uint64_t port_writes = 0;
  std::uint64_t block_reads = 0;   // whole blocks sent to the PC
  std::uint64_t block_writes = 0;  // whole blocks written to a card file
};

// Faults the unit can put into one exchange sequence.
struct ExchangeFaults {
  std::uint8_t sync_first = 0xA9;
  std::uint8_t sync_second = 0x55;
  std::uint8_t checksum_xor = 0;  // applied to the unit's checksum reply
  // A bit flipped on the line in one byte the unit sends in its data run (unit to PC) or in
  // one byte the PC sends after the command bytes (PC to unit).
  std::optional<std::size_t> flip_sent_byte;
  std::optional<std::size_t> flip_received_byte;
  int flip_bit = 0;
};

struct CommandSpec;

// Two upper-case hex digits, for the violation texts.
std::string HexByte(std::uint8_t value);

class UnitLogic {
 public:
  UnitLogic(UnitKind kind, UnitCounters& counters, std::vector<std::string>& violations)
      : kind_(kind), counters_(counters), violations_(violations) {}

  UnitKind Kind() const { return kind_; }
  // The card in a slot (two-slot unit) or the paged card (slot 0).
  std::optional<CardFile>& Card(std::size_t slot) { return cards_[slot]; }
  const std::optional<CardFile>& Card(std::size_t slot) const { return cards_[slot]; }
  std::uint16_t Page() const { return page_; }
  std::optional<std::uint8_t> Stored16MPage() const { return stored_16m_page_; }
  // What went wrong with the card files, one line each naming the file: a write that did not
  // reach it, a write refused on a read-only file, a file changed underneath the unit.
  const std::vector<std::string>& FileErrors() const { return file_errors_; }
  // Takes out every card whose file was deleted, replaced, shortened or changed by someone
  // else since the unit last saw it (saying so in FileErrors()).
  void CheckCardFiles();

  // Starts a transaction; returns the byte presented in its first exchange.
  std::uint8_t Begin(std::uint64_t transaction, const ExchangeFaults& faults);
  // One exchange completed with `received` from the PC (as it arrived on the line); returns
  // the byte the unit presents in the next exchange (as it leaves the unit).
  std::uint8_t Exchange(std::uint8_t received);
  // The select line dropped.
  void End();

 private:
  enum class Stage { kFirst, kSecond, kArgs, kData, kChecksum, kDone, kWrongSync, kSilent };

  // The next byte the unit means to send, by stage.
  std::uint8_t Next(std::uint8_t received);
  std::uint8_t AfterCommandBytes(std::uint8_t second);
  std::uint8_t StartDataOrChecksum();
  std::uint8_t ChecksumReply() const;
  void CheckChecksum(std::uint8_t received);
  // Checks the arguments of the command (recording what the PC got wrong); false when the
  // command cannot be carried out.
  bool ValidateArgs();
  // Fills the data run of a reading command; false when it cannot be filled.
  bool PrepareData();
  // Carries out the command after its checksum exchange succeeded.
  void Complete();
  bool FirstByteKnown(std::uint8_t first) const;
  void Violation(const std::string& text);
  std::uint32_t ArgValue(std::size_t offset, std::size_t count) const;
  bool SlotArgsValid(bool with_part);
  bool SlotReady(std::uint8_t slot) const;
  std::size_t PagedOffset(std::uint32_t address) const;
  // Writes through to the card's file; a write that fails takes the card out.
  void WriteCard(std::size_t slot, std::size_t offset, std::span<const std::uint8_t> bytes);
  // False (saying so in FileErrors()) when the slot's card file is read-only.
  bool Writable(std::size_t slot);
  void FileError(std::size_t slot, const std::string& text);

  UnitKind kind_;
  UnitCounters& counters_;
  std::vector<std::string>& violations_;
  std::array<std::optional<CardFile>, 2> cards_;

  // Registers of the paged card.
  std::uint16_t page_ = 0;
  std::optional<std::uint8_t> stored_16m_page_;

  // Slot access of the two-slot unit.
  bool slot_access_ = false;
  struct PartRef {
    std::uint8_t slot, block, part;
  };
  std::optional<PartRef> requested_part_;
  std::array<std::uint8_t, 128> fetch_buffer_{};
  std::optional<std::array<std::uint8_t, 128>> uploaded_;
  struct StagedBlock {
    std::uint8_t slot = 0, block = 0, parts = 0;  // parts: bit n set when part n is staged
    std::array<std::uint8_t, 512> bytes{};
  };
  std::optional<StagedBlock> staged_;

  // The transaction in progress.
  std::uint64_t transaction_ = 0;
  ExchangeFaults faults_;
  Stage stage_ = Stage::kDone;
  const CommandSpec* command_ = nullptr;
  std::uint8_t first_byte_ = 0;
  std::uint8_t checksum_ = 0;  // XOR of the bytes received
  std::vector<std::uint8_t> args_;
  std::vector<std::uint8_t> data_;  // the data run the unit sends
  std::size_t data_sent_ = 0;
  std::size_t received_after_command_ = 0;
  std::uint8_t sending_ = 0;      // what the unit meant to send in the exchange now running
  std::uint8_t sent_before_ = 0;  // ... and in the exchange before it
  std::optional<std::size_t> next_data_index_;  // set when the next byte is a data byte
  bool failed_ = false;
  bool wrong_sync_sent_ = false;
  bool line_fault_ = false;  // a flipped bit was put on the line in this transaction
  std::vector<std::string> file_errors_;
};

}  // namespace quorvel
