// The register side of the virtual link unit: the select line and handshake, the clocked
// bit exchange, the strictness checks on the PC's register writes, and fault scheduling.
#include "virtualunit/virtual_unit.h"

#include <array>

namespace quorvel {
namespace {

constexpr std::uint8_t kLine = 0x40;
constexpr std::array<std::size_t, 1> kSlotCardPages = {1};
constexpr std::array<std::size_t, 4> kPagedCardPages = {2, 4, 8, 16};

ExchangeFaults ExchangeFaultsOf(const std::optional<Fault>& fault) {
  ExchangeFaults faults;
  if (!fault) return faults;
  switch (fault->kind) {
    case FaultKind::kWrongSync:
      faults.sync_first = fault->sync_first;
      faults.sync_second = fault->sync_second;
      break;
    case FaultKind::kWrongChecksum:
      faults.checksum_xor = fault->checksum_xor;
      break;
    case FaultKind::kFlipSentBit:
      faults.flip_sent_byte = fault->byte;
      faults.flip_bit = fault->bit;
      break;
    case FaultKind::kFlipReceivedBit:
      faults.flip_received_byte = fault->byte;
      faults.flip_bit = fault->bit;
      break;
    case FaultKind::kNoAnswer:
    case FaultKind::kSlowHandshake:
      break;
  }
  return faults;
}

}  // namespace

VirtualUnit::VirtualUnit(UnitKind kind, std::uint16_t base_port)
    : data_port_(base_port),
      status_port_(static_cast<std::uint16_t>(base_port + 1)),
      control_port_(static_cast<std::uint16_t>(base_port + 2)),
      logic_(kind, counters_, violations_) {}

std::unique_ptr<VirtualUnit> VirtualUnit::TwoSlotFromFolder(const std::filesystem::path& dir,
                                                            std::string& error,
                                                            std::uint16_t base_port,
                                                            CardFileAccess access) {
  if (!std::filesystem::is_directory(dir)) {
    error = dir.string() + ": no such folder";
    return nullptr;
  }
  auto card_in = [&](const char* name) -> std::optional<std::filesystem::path> {
    std::filesystem::path file = dir / name;
    if (!std::filesystem::exists(file)) return std::nullopt;
    return file;
  };
  return TwoSlot(card_in("slot1.dcm"), card_in("slot2.dcm"), error, base_port, access);
}

std::unique_ptr<VirtualUnit> VirtualUnit::TwoSlot(const std::optional<std::filesystem::path>& slot1,
                                                  const std::optional<std::filesystem::path>& slot2,
                                                  std::string& error, std::uint16_t base_port,
                                                  CardFileAccess access) {
  std::unique_ptr<VirtualUnit> unit(new VirtualUnit(UnitKind::kTwoSlot, base_port));
  unit->access_ = access;
  const std::array<const std::optional<std::filesystem::path>*, 2> files = {&slot1, &slot2};
  for (std::size_t slot = 0; slot < files.size(); ++slot) {
    if (!*files[slot]) continue;
    CardFile::LoadError why;
    std::string reason;
    unit->logic_.Card(slot) = CardFile::Load(**files[slot], kSlotCardPages, reason, access, &why);
    if (why == CardFile::LoadError::kInUse) {
      unit->in_use_[slot] = {**files[slot], reason};
    } else if (!unit->logic_.Card(slot)) {
      error = reason;
      return nullptr;
    }
  }
  return unit;
}

std::unique_ptr<VirtualUnit> VirtualUnit::Paged(const std::filesystem::path& file,
                                                std::string& error, std::uint16_t base_port,
                                                CardFileAccess access) {
  std::unique_ptr<VirtualUnit> unit(new VirtualUnit(UnitKind::kPaged, base_port));
  unit->access_ = access;
  unit->logic_.Card(0) = CardFile::Load(file, kPagedCardPages, error, access);
  if (!unit->logic_.Card(0)) return nullptr;
  return unit;
}

std::unique_ptr<VirtualUnit> VirtualUnit::TwoSlotInMemory(
    std::optional<std::vector<std::uint8_t>> slot1, std::optional<std::vector<std::uint8_t>> slot2,
    std::string& error, std::uint16_t base_port) {
  std::unique_ptr<VirtualUnit> unit(new VirtualUnit(UnitKind::kTwoSlot, base_port));
  std::array<std::optional<std::vector<std::uint8_t>>*, 2> cards = {&slot1, &slot2};
  for (std::size_t slot = 0; slot < cards.size(); ++slot) {
    if (!*cards[slot]) continue;
    unit->logic_.Card(slot) = CardFile::InMemory(std::move(**cards[slot]), kSlotCardPages, error);
    if (!unit->logic_.Card(slot)) return nullptr;
  }
  return unit;
}

std::unique_ptr<VirtualUnit> VirtualUnit::PagedInMemory(std::vector<std::uint8_t> pages,
                                                        std::string& error,
                                                        std::uint16_t base_port) {
  std::unique_ptr<VirtualUnit> unit(new VirtualUnit(UnitKind::kPaged, base_port));
  unit->logic_.Card(0) = CardFile::InMemory(std::move(pages), kPagedCardPages, error);
  if (!unit->logic_.Card(0)) return nullptr;
  return unit;
}

std::unique_ptr<VirtualUnit> VirtualUnit::NothingAttached(std::uint16_t base_port) {
  return std::unique_ptr<VirtualUnit>(new VirtualUnit(UnitKind::kNothing, base_port));
}

std::size_t VirtualUnit::Pages() const {
  return Kind() == UnitKind::kPaged && HasCard(0) ? logic_.Card(0)->Pages() : 0;
}

void VirtualUnit::InjectFault(std::uint64_t transaction, const Fault& fault) {
  faults_[transaction] = fault;
}

void VirtualUnit::UseRandomFaults(std::uint32_t seed, std::uint32_t one_in) {
  random_.emplace(seed);
  random_one_in_ = one_in;
  random_rolled_ = counters_.transactions;
}

void VirtualUnit::ClearFaults() {
  faults_.clear();
  random_.reset();
  random_one_in_ = 0;
}

void VirtualUnit::RemoveCardAfter(std::size_t slot, std::uint64_t transactions) {
  card_events_.push_back({counters_.transactions + transactions, slot, std::nullopt});
  if (!selected_) ApplyCardEvents();
}

bool VirtualUnit::InsertCardAfter(std::size_t slot, const std::filesystem::path& file,
                                  std::uint64_t transactions, std::string& error) {
  std::optional<CardFile> card = Kind() == UnitKind::kPaged
                                     ? CardFile::Load(file, kPagedCardPages, error, access_)
                                     : CardFile::Load(file, kSlotCardPages, error, access_);
  if (!card) return false;
  card_events_.push_back({counters_.transactions + transactions, slot, std::move(card)});
  if (!selected_) ApplyCardEvents();
  return true;
}

std::optional<Fault> VirtualUnit::FaultFor(std::uint64_t transaction) {
  // Random faults are drawn once per transaction, in order, so a seed always gives the same
  // faults to the same transactions.
  while (random_ && random_rolled_ < transaction) {
    ++random_rolled_;
    std::mt19937& random = *random_;
    if (random_one_in_ == 0 || random() % random_one_in_ != 0) continue;
    Fault fault;
    switch (random() % 4) {
      case 0:
        fault.kind = FaultKind::kNoAnswer;
        break;
      case 1:
        fault.kind = FaultKind::kWrongSync;
        break;
      case 2:
        fault.kind = FaultKind::kWrongChecksum;
        fault.checksum_xor = static_cast<std::uint8_t>(1u << (random() % 8));
        break;
      default:
        fault.kind = FaultKind::kFlipSentBit;
        fault.byte = random() % 128;
        fault.bit = static_cast<int>(random() % 8);
        break;
    }
    faults_.emplace(random_rolled_, fault);
  }
  auto it = faults_.find(transaction);
  if (it == faults_.end()) return std::nullopt;
  return it->second;
}

bool VirtualUnit::Answering() const {
  if (Kind() == UnitKind::kNothing) return false;
  return Kind() == UnitKind::kTwoSlot || HasCard(0);
}

bool VirtualUnit::ReadyLine(std::uint64_t transaction, bool count_poll) {
  if (count_poll) ++idle_polls_;
  std::optional<Fault> fault = FaultFor(transaction);
  if (!fault) return true;
  if (fault->kind == FaultKind::kNoAnswer) return false;
  if (fault->kind == FaultKind::kSlowHandshake) return idle_polls_ > fault->polls;
  return true;
}

std::uint8_t VirtualUnit::ReadPort(std::uint16_t port) {
  ++counters_.port_reads;
  if (port == data_port_) return data_;
  if (port == control_port_) return control_;
  if (port != status_port_) return 0x00;
  if (!Answering()) return kLine;  // an open input floats high
  if (!selected_) return ReadyLine(counters_.transactions + 1, true) ? kLine : 0x00;
  return accepted_ && line_ ? kLine : 0x00;
}

void VirtualUnit::WritePort(std::uint16_t port, std::uint8_t value) {
  ++counters_.port_writes;
  if (port == control_port_) {
    OnControlWrite(value);
  } else if (port == data_port_) {
    OnDataWrite(value);
  }
}

void VirtualUnit::OnControlWrite(std::uint8_t value) {
  if ((value & 0xFE) != 0 && Answering()) {
    Violation("control register " + HexByte(value) + ": only the select bit may be set");
  }
  control_ = value;
  bool select = (value & 0x01) != 0;
  if (select && !selected_) {
    StartTransaction();
  } else if (!select && selected_) {
    EndTransaction();
  }
}

void VirtualUnit::CheckCardFiles() {
  logic_.CheckCardFiles();
  for (std::size_t slot = 0; slot < in_use_.size(); ++slot) {
    HeldFile& held = in_use_[slot];
    if (!held.path || HasCard(slot)) continue;
    CardFile::LoadError why;
    std::string reason;
    logic_.Card(slot) = CardFile::Load(*held.path, kSlotCardPages, reason, access_, &why);
    if (why != CardFile::LoadError::kInUse) held = {};  // in now, or gone for good
  }
}

void VirtualUnit::StartTransaction() {
  CheckCardFiles();
  ++counters_.transactions;
  selected_ = true;
  bits_ = 0;
  received_ = 0;
  framing_reported_ = false;
  line_ = false;
  // The unit takes part only when its line was up: a PC that selects before the unit was
  // ready finds nobody there.
  std::uint64_t transaction = counters_.transactions;
  accepted_ = Answering() && ReadyLine(transaction, false);
  if (!accepted_) return;
  if (data_ != 0x01) {
    Violation("select with the data register at " + HexByte(data_) + ", expected 01");
  }
  reply_ = logic_.Begin(transaction, ExchangeFaultsOf(FaultFor(transaction)));
}

void VirtualUnit::EndTransaction() {
  selected_ = false;
  if (accepted_) {
    if (bits_ != 0) {
      Violation("the transaction ended after " + std::to_string(bits_) + " bits of a byte");
    }
    logic_.End();
  }
  accepted_ = false;
  idle_polls_ = 0;
  ApplyCardEvents();
}

void VirtualUnit::OnDataWrite(std::uint8_t value) {
  std::uint8_t old = data_;
  data_ = value;
  if (!selected_ || !Answering()) return;
  bool old_clock = (old & 0x01) != 0;
  bool clock = (value & 0x01) != 0;
  if (!accepted_) {
    if (old_clock != clock && !framing_reported_) {
      framing_reported_ = true;
      Violation("clock pulses in a transaction whose handshake the unit did not answer");
    }
    return;
  }
  if ((value & 0xFC) != 0 && !framing_reported_) {
    framing_reported_ = true;
    Violation("data register " + HexByte(value) + ": bits 2 to 7 must stay 0");
  }
  if (!old_clock && !clock && ((old ^ value) & 0x02) != 0 && !framing_reported_) {
    framing_reported_ = true;
    Violation("the data bit changed while the clock was low");
  }
  if (old_clock && !clock) {
    line_ = ((reply_ >> (7 - bits_)) & 1) != 0;  // present the next bit, MSB first
  } else if (!old_clock && clock) {
    received_ = static_cast<std::uint8_t>((received_ << 1) | ((value >> 1) & 1));
    if (++bits_ == 8) {
      reply_ = logic_.Exchange(received_);
      bits_ = 0;
      received_ = 0;
    }
  }
}

void VirtualUnit::ApplyCardEvents() {
  for (auto it = card_events_.begin(); it != card_events_.end();) {
    if (it->at_transaction <= counters_.transactions) {
      logic_.Card(it->slot) = std::move(it->card);
      it = card_events_.erase(it);
    } else {
      ++it;
    }
  }
}

void VirtualUnit::Violation(const std::string& text) {
  violations_.push_back("transaction " + std::to_string(counters_.transactions) + ": " + text);
}

}  // namespace quorvel
