// LinkDevice: the handshake, the bit-level byte exchange, the framed commands and the block
// entry points of the link to the card unit.
#include "link/link_device.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <utility>

#include "link/busy_wait.h"

namespace quorvel {
namespace {

constexpr std::uint8_t kClock = 0x01;     // data register bit 0: the clock
constexpr std::uint8_t kDataOut = 0x02;   // data register bit 1: PC-to-unit data
constexpr std::uint8_t kUnitLine = 0x40;  // status register bit 6: unit-to-PC data
constexpr std::uint8_t kSelect = 0x01;    // control register bit 0: transaction select
constexpr int kMaxPolls = 800;            // a phase gives up after more than this many polls

constexpr std::uint8_t kSyncFirst = 0xA9;
constexpr std::uint8_t kSyncSecond = 0x55;

// The command bytes of the command set.
struct CommandCode {
  std::uint8_t first;
  std::uint8_t second;
};
constexpr CommandCode kReadMemory{0x02, 0xA9};
constexpr CommandCode kWriteMemory{0x02, 0x55};
constexpr CommandCode kSetPage{0x40, 0x6A};
constexpr CommandCode kGetPage{0x40, 0x7E};
constexpr CommandCode kSet16MPage{0xC0, 0xCB};
constexpr CommandCode kBeginSlotAccess{0x40, 0x25};
constexpr CommandCode kEndSlotAccess{0x40, 0x31};
constexpr CommandCode kRequestBlockPart{0x03, 0x3A};
constexpr CommandCode kFetchPart{0x02, 0x8E};
constexpr CommandCode kUploadPart{0x12, 0x1A};
constexpr CommandCode kWriteBlockPart{0x13, 0x69};
constexpr CommandCode kCommitBlockWrite{0x54, 0x66};
constexpr CommandCode kGetCardPresence{0xA5, 0xCC};

constexpr std::size_t kPartsPerBlock = kBlockSize / kPartSize;

// Phase 1 compares characters 1 to 10 of the time text, phase 2 the two at positions 10 and
// 11 (both 1-based); a shorter text gives a shorter (possibly empty) mark.
std::string PhaseOneMark(const std::string& time) { return time.substr(0, 10); }
std::string PhaseTwoMark(const std::string& time) {
  return time.size() > 9 ? time.substr(9, 2) : std::string();
}

std::string LocalTimeOfDay() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  std::array<char, 16> text{};
  std::size_t length = std::strftime(text.data(), text.size(), "%H:%M:%S", &local);
  return std::string(text.data(), length);
}

// Little-endian bytes of a value.
template <std::size_t N>
std::array<std::uint8_t, N> LittleEndian(std::uint32_t value) {
  std::array<std::uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

}  // namespace

LinkDevice::LinkDevice(PortIo& port, LinkSettings& settings, LinkHooks hooks)
    : port_(port), settings_(settings), hooks_(std::move(hooks)) {
  UpdatePorts();
}

void LinkDevice::SetSpeed(std::int32_t value) {
  if (value < 1000) {
    settings_.poll_delay = 500;
    settings_.byte_delay = 80;
    settings_.bit_delay = 8;
  } else if (value < 100000) {
    settings_.poll_delay = 90000;
    settings_.byte_delay = 1000;
    settings_.bit_delay = 100;
  } else {
    settings_.poll_delay = 180000;
    settings_.byte_delay = 2000;
    settings_.bit_delay = 200;
  }
}

void LinkDevice::UpdatePorts() {
  data_port_ = settings_.base_port;
  status_port_ = static_cast<std::uint16_t>(settings_.base_port + 1);
  control_port_ = static_cast<std::uint16_t>(settings_.base_port + 2);
}

std::string LinkDevice::TimeOfDay() const {
  return hooks_.time_of_day ? hooks_.time_of_day() : LocalTimeOfDay();
}

void LinkDevice::BeginTransaction() {
  ++stats_.transactions;
  UpdatePorts();
  timed_out_ = false;
  data_shadow_ = kClock;
  port_.WritePort(data_port_, kClock);

  // Phase 1: wait for the unit to raise its line. Giving up needs both more than 800 polls
  // and a change of the time mark; either way the handshake goes on to phase 2.
  std::string start = PhaseOneMark(TimeOfDay());
  std::string current;
  int polls = 0;
  bool gave_up = false;
  for (;;) {
    current = PhaseOneMark(TimeOfDay());
    BusyWait(settings_.byte_delay);
    ++polls;
    std::uint8_t status = port_.ReadPort(status_port_);
    gave_up = current != start && polls > kMaxPolls;
    if ((status & kUnitLine) != 0 || gave_up) break;
  }
  if (gave_up) timed_out_ = true;

  port_.WritePort(control_port_, kSelect);

  // Phase 2: wait for the unit to drop its line; a change of the mark or more than 800 polls
  // ends it as a time-out.
  start = PhaseTwoMark(TimeOfDay());
  polls = 0;
  for (;;) {
    current = PhaseTwoMark(TimeOfDay());
    if (hooks_.repaint) hooks_.repaint();
    BusyWait(settings_.poll_delay);
    ++polls;
    std::uint8_t status = port_.ReadPort(status_port_);
    if ((status & kUnitLine) == 0 || current != start || polls > kMaxPolls) break;
  }
  if (current != start || polls > kMaxPolls) {
    ReportStatus(hooks_.reports, kNoDeviceLabel);
    timed_out_ = true;
  }
  BusyWait(settings_.byte_delay);
}

void LinkDevice::EndTransaction() {
  UpdatePorts();
  port_.WritePort(control_port_, 0x00);
}

std::uint8_t LinkDevice::ExchangeByte(std::uint8_t out) {
  std::uint8_t result = 0;
  for (int bit = 7; bit >= 0; --bit) {
    std::uint8_t data_bit = ((out >> bit) & 1) != 0 ? kDataOut : 0;
    data_shadow_ = static_cast<std::uint8_t>((data_shadow_ & 0xFC) | data_bit);
    port_.WritePort(data_port_, data_shadow_ | kClock);
    port_.WritePort(data_port_, data_shadow_);
    BusyWait(settings_.bit_delay);
    data_shadow_ |= kClock;
    port_.WritePort(data_port_, data_shadow_);
    std::uint8_t status = port_.ReadPort(status_port_);
    result = static_cast<std::uint8_t>((result << 1) | ((status & kUnitLine) != 0 ? 1 : 0));
    BusyWait(settings_.bit_delay);
  }
  BusyWait(settings_.byte_delay);
  last_received_ = result;
  return result;
}

std::uint8_t LinkDevice::TransferByte(std::uint8_t out) {
  checksum_ ^= out;
  return ExchangeByte(out);
}

bool LinkDevice::OpenCommand(std::uint8_t first, std::uint8_t second) {
  return StartCommand() && SendCommandBytes(first, second);
}

bool LinkDevice::StartCommand() {
  BeginTransaction();
  if (timed_out_) {
    EndTransaction();
    return false;
  }
  return true;
}

bool LinkDevice::SendCommandBytes(std::uint8_t first, std::uint8_t second) {
  checksum_ = 0;
  std::uint8_t reply_first = TransferByte(first);
  std::uint8_t reply_second = TransferByte(second);
  if (reply_first != kSyncFirst || reply_second != kSyncSecond) {
    EndTransaction();
    return false;
  }
  return true;
}

bool LinkDevice::CloseCommand(bool exact_checksum) {
  std::uint8_t sent = checksum_;
  std::uint8_t reply = ExchangeByte(sent);
  EndTransaction();
  checksum_inexact_ = reply != sent;
  return exact_checksum ? reply == sent : (reply & 0xFE) == (sent & 0xFE);
}

void LinkDevice::SendBytes(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) TransferByte(byte);
}

void LinkDevice::ReceiveBytes(std::span<std::uint8_t> bytes) {
  for (std::uint8_t& byte : bytes) byte = TransferByte(last_received_);
}

bool LinkDevice::SendCommand(std::uint8_t first, std::uint8_t second,
                             std::span<const std::uint8_t> args, bool exact_checksum) {
  if (!OpenCommand(first, second)) return false;
  SendBytes(args);
  return CloseCommand(exact_checksum);
}

bool LinkDevice::ReceiveCommand(std::uint8_t first, std::uint8_t second,
                                std::span<std::uint8_t> bytes, bool exact_checksum) {
  if (!OpenCommand(first, second)) return false;
  ReceiveBytes(bytes);
  return CloseCommand(exact_checksum);
}

bool LinkDevice::ReadMemory(std::uint32_t address, std::span<std::uint8_t, kBlockSize> buffer) {
  if (!OpenCommand(kReadMemory.first, kReadMemory.second)) return false;
  SendBytes(LittleEndian<4>(address));
  SendBytes(LittleEndian<2>(kBlockSize));
  ReceiveBytes(buffer);
  return CloseCommand(false);
}

bool LinkDevice::WriteMemory(std::uint32_t address, std::span<const std::uint8_t, kPartSize> data) {
  if (!OpenCommand(kWriteMemory.first, kWriteMemory.second)) return false;
  SendBytes(LittleEndian<4>(address));
  SendBytes(data);
  return CloseCommand(false);
}

bool LinkDevice::SetPage(std::uint16_t page) {
  return SendCommand(kSetPage.first, kSetPage.second, LittleEndian<2>(page), true);
}

bool LinkDevice::GetPage(std::uint16_t& page) {
  std::array<std::uint8_t, 2> bytes{};
  if (!ReceiveCommand(kGetPage.first, kGetPage.second, bytes, true)) return false;
  page = static_cast<std::uint16_t>(bytes[1] * 256 + bytes[0]);
  return true;
}

bool LinkDevice::Set16MPage(std::uint8_t page) {
  return SendCommand(kSet16MPage.first, kSet16MPage.second, std::array{page});
}

bool LinkDevice::BeginSlotAccess() {
  return SendCommand(kBeginSlotAccess.first, kBeginSlotAccess.second,
                     std::array<std::uint8_t, 2>{0x88, 0x20});
}

bool LinkDevice::EndSlotAccess() {
  return SendCommand(kEndSlotAccess.first, kEndSlotAccess.second,
                     std::array<std::uint8_t, 2>{0x20, 0x00});
}

bool LinkDevice::RequestBlockPart(std::uint8_t slot, std::uint8_t block, std::uint8_t part) {
  return SendCommand(kRequestBlockPart.first, kRequestBlockPart.second,
                     std::array{slot, block, part});
}

bool LinkDevice::FetchPart(std::span<std::uint8_t, kPartSize> buffer) {
  return ReceiveCommand(kFetchPart.first, kFetchPart.second, buffer);
}

bool LinkDevice::UploadPart(std::span<const std::uint8_t, kPartSize> data) {
  return SendCommand(kUploadPart.first, kUploadPart.second, data);
}

bool LinkDevice::WriteBlockPart(std::uint8_t slot, std::uint8_t block, std::uint8_t part) {
  return SendCommand(kWriteBlockPart.first, kWriteBlockPart.second, std::array{slot, block, part});
}

bool LinkDevice::CommitBlockWrite(std::uint8_t slot, std::uint8_t block) {
  return SendCommand(kCommitBlockWrite.first, kCommitBlockWrite.second, std::array{slot, block});
}

bool LinkDevice::GetCardPresence(bool& slot1, bool& slot2) {
  if (!StartCommand()) return false;
  slot1 = false;
  slot2 = false;
  if (!SendCommandBytes(kGetCardPresence.first, kGetCardPresence.second)) return false;
  std::array<std::uint8_t, 1> status{};
  ReceiveBytes(status);
  if (!CloseCommand(false)) return false;
  slot1 = (status[0] & 0x01) != 0;
  slot2 = (status[0] & 0x02) != 0;
  return true;
}

void LinkDevice::CountBlockCall(bool write, std::uint8_t slot, std::uint8_t block) {
  (write ? stats_.block_writes : stats_.block_reads)++;
  const BlockCall& last = last_block_call_;
  if (last.failed && last.write == write && last.slot == slot && last.block == block) {
    ++stats_.retries;
  }
  last_block_call_ = BlockCall{write, slot, block, false};
}

bool LinkDevice::FinishBlockCall(bool ok) {
  last_block_call_.failed = !ok;
  return ok;
}

bool LinkDevice::LinkReadBlock(std::uint8_t slot, std::uint8_t block,
                               std::span<std::uint8_t, kBlockSize> buffer) {
  CountBlockCall(false, slot, block);
  if (paged_mode_) {
    const std::uint32_t address = block * static_cast<std::uint32_t>(kBlockSize);
    bool ok = ReadMemory(address, buffer);
    // A checksum reply that differs in bit 0 only counts as success, yet it is also what noise
    // on bit 0 of an address byte gives, with the card sending another block: such a block is
    // read again and taken only when both reads agree.
    if (ok && checksum_inexact_) {
      std::array<std::uint8_t, kBlockSize> again{};
      ok = ReadMemory(address, again) && std::equal(again.begin(), again.end(), buffer.begin());
      ++stats_.bit0_checks;
    }
    timed_out_ = !ok;
    return FinishBlockCall(ok);
  }
  return FinishBlockCall(ReadBlockTwoSlot(slot, block, buffer));
}

bool LinkDevice::ReadBlockTwoSlot(std::uint8_t slot, std::uint8_t block,
                                  std::span<std::uint8_t, kBlockSize> buffer) {
  BeginSlotAccess();
  bool ok = true;
  std::array<std::uint8_t, kPartSize> part_bytes{};
  for (std::uint8_t part = 0; part < kPartsPerBlock && ok; ++part) {
    ok = RequestBlockPart(slot, block, part);
    if (ok) ok = FetchPart(part_bytes);
    if (ok) std::copy(part_bytes.begin(), part_bytes.end(), buffer.begin() + part * kPartSize);
  }
  timed_out_ = !ok;
  EndSlotAccess();
  timed_out_ = !ok;  // EndSlotAccess began a transaction of its own, which cleared the flag
  return ok;
}

bool LinkDevice::LinkWriteBlock(std::uint8_t slot, std::uint8_t block,
                                std::span<const std::uint8_t, kBlockSize> data) {
  CountBlockCall(true, slot, block);
  bool ok = paged_mode_ ? WriteBlockPaged(block, data) : WriteBlockTwoSlot(slot, block, data);
  return FinishBlockCall(ok);
}

bool LinkDevice::WriteBlockPaged(std::uint8_t block,
                                 std::span<const std::uint8_t, kBlockSize> data) {
  bool ok = true;
  bool inexact = false;
  for (std::size_t part = 0; part < kPartsPerBlock && ok; ++part) {
    std::uint32_t address = static_cast<std::uint32_t>(block * kBlockSize + part * kPartSize);
    ok = WriteMemory(address, data.subspan(part * kPartSize).first<kPartSize>());
    inexact = inexact || checksum_inexact_;
  }
  // A checksum reply that differs in bit 0 only counts as success, yet it is also what the
  // card answers when one bit 0 of the part changed on the line, and then the card did not
  // store the part. Such a block is read back: it is written only if the card holds it.
  if (ok && inexact) {
    std::array<std::uint8_t, kBlockSize> stored{};
    ok = ReadMemory(block * static_cast<std::uint32_t>(kBlockSize), stored) &&
         std::equal(stored.begin(), stored.end(), data.begin());
    ++stats_.bit0_checks;
  }
  timed_out_ = !ok;
  return ok;
}

bool LinkDevice::WriteBlockTwoSlot(std::uint8_t slot, std::uint8_t block,
                                   std::span<const std::uint8_t, kBlockSize> data) {
  BeginSlotAccess();
  bool ok = true;
  for (std::uint8_t part = 0; part < kPartsPerBlock && ok; ++part) {
    ok = UploadPart(data.subspan(part * kPartSize).first<kPartSize>());
    if (ok) ok = WriteBlockPart(slot, block, part);
  }
  timed_out_ = !ok;
  // The commit is sent even after a failed part; a commit that fails means the unit did not
  // write the block, so the block failed too (and its retry sends it again).
  const bool committed = CommitBlockWrite(slot, block);
  ok = ok && committed;
  EndSlotAccess();
  timed_out_ = !ok;  // the commit and EndSlotAccess began transactions, which clear the flag
  return ok;
}

bool LinkDevice::DetectUnitType() {
  // Only an answer changes what the link believes the unit is: a detection that a link fault
  // broke keeps the last known kind, so a paged card is not sent the two-slot unit's commands
  // (card presence, slot access, block parts) until the next detection gets through.
  std::uint16_t saved = 0;
  // Without the page in use it could not be put back after the test below, and a card left
  // on page 0 would take the writes meant for the page whose directory the window holds.
  if (!GetPage(saved)) return false;
  if (!SetPage(0)) {
    PutPageBack(saved);  // a checksum failure comes after the unit took the page
    return false;
  }
  std::uint16_t page = 0;
  if (!GetPage(page)) {
    PutPageBack(saved);
    return false;
  }
  if (page == 0) {
    PutPageBack(saved);
    paged_mode_ = true;
    return true;
  }
  if (page != 0x00FF) return false;
  paged_mode_ = false;
  return true;
}

bool LinkDevice::HighestPage(std::uint16_t& highest, std::uint16_t* current) {
  std::uint16_t saved = 0;
  if (!GetPage(saved)) return false;  // as in DetectUnitType: the page stays as it is
  if (current != nullptr) *current = saved;
  const bool set_ok = SetPage(255);
  const bool get_ok = GetPage(highest);
  return PutPageBack(saved) && set_ok && get_ok;
}

bool LinkDevice::PutPageBack(std::uint16_t page) {
  if (SetPage(page)) return true;
  page_lost_ = true;
  return false;
}

bool LinkDevice::TakePageLost() { return std::exchange(page_lost_, false); }

}  // namespace quorvel
