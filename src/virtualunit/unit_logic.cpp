// The command interpreter of the virtual link unit: framing, echo and checksum checks, and
// the commands of the two-slot unit and of the paged card.
#include "virtualunit/unit_logic.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorvel {

enum class Op {
  kReadMemory,
  kWriteMemory,
  kSetPage,
  kGetPage,
  kSet16MPage,
  kBeginSlotAccess,
  kEndSlotAccess,
  kRequestBlockPart,
  kFetchPart,
  kUploadPart,
  kWriteBlockPart,
  kCommitBlockWrite,
  kGetCardPresence,
};

struct CommandSpec {
  Op op;
  const char* name;
  std::uint8_t first, second;
  std::size_t args;      // bytes the PC sends after the command bytes
  std::size_t data_out;  // bytes the unit sends in its data run
  bool two_slot, paged;  // which kinds of unit know the command
};

namespace {

constexpr std::size_t kBlock = 512;
constexpr std::size_t kPart = 128;

constexpr CommandSpec kCommands[] = {
    {Op::kReadMemory, "ReadMemory", 0x02, 0xA9, 6, kBlock, false, true},
    {Op::kWriteMemory, "WriteMemory", 0x02, 0x55, 4 + kPart, 0, false, true},
    {Op::kSetPage, "SetPage", 0x40, 0x6A, 2, 0, true, true},
    {Op::kGetPage, "GetPage", 0x40, 0x7E, 0, 2, true, true},
    {Op::kSet16MPage, "Set16MPage", 0xC0, 0xCB, 1, 0, false, true},
    {Op::kBeginSlotAccess, "BeginSlotAccess", 0x40, 0x25, 2, 0, true, false},
    {Op::kEndSlotAccess, "EndSlotAccess", 0x40, 0x31, 2, 0, true, false},
    {Op::kRequestBlockPart, "RequestBlockPart", 0x03, 0x3A, 3, 0, true, false},
    {Op::kFetchPart, "FetchPart", 0x02, 0x8E, 0, kPart, true, false},
    {Op::kUploadPart, "UploadPart", 0x12, 0x1A, kPart, 0, true, false},
    {Op::kWriteBlockPart, "WriteBlockPart", 0x13, 0x69, 3, 0, true, false},
    {Op::kCommitBlockWrite, "CommitBlockWrite", 0x54, 0x66, 2, 0, true, false},
    {Op::kGetCardPresence, "GetCardPresence", 0xA5, 0xCC, 0, 1, true, false},
};

bool Knows(const CommandSpec& command, UnitKind kind) {
  return kind == UnitKind::kTwoSlot ? command.two_slot : kind == UnitKind::kPaged && command.paged;
}

}  // namespace

std::string HexByte(std::uint8_t value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value);
  return text;
}

std::uint8_t UnitLogic::Begin(std::uint64_t transaction, const ExchangeFaults& faults) {
  transaction_ = transaction;
  faults_ = faults;
  stage_ = Stage::kFirst;
  command_ = nullptr;
  checksum_ = 0;
  args_.clear();
  data_.clear();
  data_sent_ = 0;
  received_after_command_ = 0;
  next_data_index_.reset();
  failed_ = false;
  wrong_sync_sent_ = faults_.sync_first != 0xA9;
  line_fault_ = false;
  sent_before_ = 0;
  sending_ = faults_.sync_first;
  return sending_;
}

std::uint8_t UnitLogic::Exchange(std::uint8_t received) {
  bool after_command = stage_ == Stage::kArgs || stage_ == Stage::kData;
  if (after_command && faults_.flip_received_byte == received_after_command_++) {
    received ^= static_cast<std::uint8_t>(1u << faults_.flip_bit);
    line_fault_ = true;
  }
  next_data_index_.reset();
  std::uint8_t next = Next(received);
  std::uint8_t on_line = next;
  if (next_data_index_ && faults_.flip_sent_byte == *next_data_index_) {
    on_line ^= static_cast<std::uint8_t>(1u << faults_.flip_bit);
    line_fault_ = true;
  }
  sent_before_ = sending_;
  sending_ = next;
  return on_line;
}

std::uint8_t UnitLogic::Next(std::uint8_t received) {
  switch (stage_) {
    case Stage::kFirst:
      checksum_ ^= received;
      first_byte_ = received;
      stage_ = Stage::kSecond;
      if (!FirstByteKnown(received)) return 0x00;
      if (faults_.sync_second != 0x55) wrong_sync_sent_ = true;
      return faults_.sync_second;
    case Stage::kSecond:
      checksum_ ^= received;
      return AfterCommandBytes(received);
    case Stage::kArgs:
      checksum_ ^= received;
      args_.push_back(received);
      if (args_.size() < command_->args) return checksum_;
      if (!ValidateArgs()) failed_ = true;
      return StartDataOrChecksum();
    case Stage::kData:
      checksum_ ^= received;
      if (received != sent_before_) {
        failed_ = true;
        if (!line_fault_) {
          Violation("echo " + HexByte(received) + " in data exchange " +
                    std::to_string(data_sent_ - 1) + ", expected " + HexByte(sent_before_));
        }
      }
      if (data_sent_ < data_.size()) {
        next_data_index_ = data_sent_;
        return data_[data_sent_++];
      }
      stage_ = Stage::kChecksum;
      return ChecksumReply();
    case Stage::kChecksum:
      CheckChecksum(received);
      stage_ = Stage::kDone;
      return 0x00;
    case Stage::kDone:
      Violation("byte " + HexByte(received) + " sent after the checksum exchange");
      stage_ = Stage::kSilent;
      return 0x00;
    case Stage::kWrongSync:
      Violation("byte " + HexByte(received) + " sent after a wrong sync reply");
      stage_ = Stage::kSilent;
      return 0x00;
    case Stage::kSilent:
      return 0x00;
  }
  return 0x00;
}

std::uint8_t UnitLogic::AfterCommandBytes(std::uint8_t second) {
  const CommandSpec* found = nullptr;
  for (const CommandSpec& command : kCommands) {
    if (command.first == first_byte_ && command.second == second && Knows(command, kind_))
      found = &command;
  }
  if (found == nullptr) {
    Violation("unknown command " + HexByte(first_byte_) + " " + HexByte(second));
    failed_ = true;
    stage_ = Stage::kSilent;
    return 0x00;
  }
  if (wrong_sync_sent_) {
    // The PC must give up after a wrong sync reply; anything it sends now is a violation.
    stage_ = Stage::kWrongSync;
    return 0x00;
  }
  command_ = found;
  ++counters_.commands[found->name];
  if (found->args > 0) {
    stage_ = Stage::kArgs;
    return checksum_;
  }
  return StartDataOrChecksum();
}

std::uint8_t UnitLogic::StartDataOrChecksum() {
  if (command_->data_out == 0) {
    stage_ = Stage::kChecksum;
    return ChecksumReply();
  }
  // Arguments the unit refused (an address outside the page) fetch nothing.
  if (failed_ || !PrepareData()) {
    failed_ = true;
    data_.assign(command_->data_out, 0x00);
  }
  stage_ = Stage::kData;
  next_data_index_ = 0;
  data_sent_ = 1;
  return data_[0];
}

std::uint8_t UnitLogic::ChecksumReply() const {
  std::uint8_t reply = failed_ ? static_cast<std::uint8_t>(~checksum_) : checksum_;
  return reply ^ faults_.checksum_xor;
}

void UnitLogic::CheckChecksum(std::uint8_t received) {
  if (received != checksum_) {
    failed_ = true;
    if (!line_fault_) {
      Violation("checksum " + HexByte(received) + " from the PC, expected " + HexByte(checksum_));
    }
  }
  if (!failed_) Complete();
}

bool UnitLogic::FirstByteKnown(std::uint8_t first) const {
  return std::any_of(std::begin(kCommands), std::end(kCommands), [&](const CommandSpec& command) {
    return command.first == first && Knows(command, kind_);
  });
}

void UnitLogic::Violation(const std::string& text) {
  // A bit the unit itself flipped on the line is noise, not a rule the PC broke.
  if (line_fault_) return;
  std::string where = "transaction " + std::to_string(transaction_);
  if (command_ != nullptr) where += " (" + std::string(command_->name) + ")";
  violations_.push_back(where + ": " + text);
}

std::uint32_t UnitLogic::ArgValue(std::size_t offset, std::size_t count) const {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value |= std::uint32_t{args_[offset + i]} << (8 * i);
  return value;
}

bool UnitLogic::SlotReady(std::uint8_t slot) const {
  return slot_access_ && cards_[slot].has_value();
}

bool UnitLogic::SlotArgsValid(bool with_part) {
  if (args_[0] > 1) {
    Violation("slot " + std::to_string(args_[0]) + " does not exist");
    return false;
  }
  if (with_part && args_[2] > 3) {
    Violation("part " + std::to_string(args_[2]) + " does not exist");
    return false;
  }
  return SlotReady(args_[0]);
}

std::size_t UnitLogic::PagedOffset(std::uint32_t address) const {
  return std::size_t{page_} * kVirtualPageSize + address;
}

bool UnitLogic::ValidateArgs() {
  switch (command_->op) {
    case Op::kReadMemory: {
      std::uint32_t length = ArgValue(4, 2);
      if (length != kBlock) {
        Violation("length " + std::to_string(length) + ", expected 512");
        return false;
      }
      if (ArgValue(0, 4) + kBlock > kVirtualPageSize) {
        Violation("address " + std::to_string(ArgValue(0, 4)) + " outside the page");
        return false;
      }
      return true;
    }
    case Op::kWriteMemory:
      if (ArgValue(0, 4) + kPart > kVirtualPageSize) {
        Violation("address " + std::to_string(ArgValue(0, 4)) + " outside the page");
        return false;
      }
      return Writable(0);
    case Op::kBeginSlotAccess:
    case Op::kEndSlotAccess: {
      bool begin = command_->op == Op::kBeginSlotAccess;
      std::uint8_t expected_first = begin ? 0x88 : 0x20;
      std::uint8_t expected_second = begin ? 0x20 : 0x00;
      if (args_[0] != expected_first || args_[1] != expected_second) {
        Violation("arguments " + HexByte(args_[0]) + " " + HexByte(args_[1]) + ", expected " +
                  HexByte(expected_first) + " " + HexByte(expected_second));
        return false;
      }
      return true;
    }
    case Op::kRequestBlockPart:
      return SlotArgsValid(true);
    case Op::kWriteBlockPart:
      // No uploaded part (its upload did not complete) fails the command; the PC cannot know,
      // so it is no violation.
      return SlotArgsValid(true) && uploaded_.has_value();
    case Op::kCommitBlockWrite:
      // A block whose four parts did not all arrive cannot be written, so the commit fails
      // (a part the unit refused may have looked sent to the PC: no violation either).
      return SlotArgsValid(false) && staged_ && staged_->slot == args_[0] &&
             staged_->block == args_[1] && staged_->parts == 0x0F && Writable(args_[0]);
    default:
      return true;
  }
}

bool UnitLogic::PrepareData() {
  switch (command_->op) {
    case Op::kReadMemory: {
      if (!cards_[0]) return false;
      auto bytes = cards_[0]->Bytes(PagedOffset(ArgValue(0, 4)), kBlock);
      data_.assign(bytes.begin(), bytes.end());
      return true;
    }
    case Op::kGetPage:
      if (kind_ == UnitKind::kTwoSlot) {
        data_ = {0xFF, 0x00};
      } else {
        data_ = {static_cast<std::uint8_t>(page_ & 0xFF), static_cast<std::uint8_t>(page_ >> 8)};
      }
      return true;
    case Op::kFetchPart:
      if (!requested_part_) return false;  // the request did not complete
      data_.assign(fetch_buffer_.begin(), fetch_buffer_.end());
      return true;
    case Op::kGetCardPresence:
      data_ = {static_cast<std::uint8_t>((cards_[0] ? 0x01 : 0) | (cards_[1] ? 0x02 : 0))};
      return true;
    default:
      return false;
  }
}

void UnitLogic::Complete() {
  switch (command_->op) {
    case Op::kReadMemory:
      ++counters_.block_reads;
      break;
    case Op::kWriteMemory: {
      std::uint32_t address = ArgValue(0, 4);
      WriteCard(0, PagedOffset(address), std::span(args_).subspan(4, kPart));
      if (address % kBlock == kBlock - kPart) ++counters_.block_writes;
      break;
    }
    case Op::kSetPage:
      if (kind_ == UnitKind::kPaged && cards_[0]) {
        page_ = static_cast<std::uint16_t>(
            std::min<std::size_t>(ArgValue(0, 2), cards_[0]->Pages() - 1));
      }
      break;
    case Op::kSet16MPage:
      stored_16m_page_ = args_[0];
      break;
    case Op::kBeginSlotAccess:
      slot_access_ = true;
      break;
    case Op::kEndSlotAccess:
      slot_access_ = false;
      requested_part_.reset();
      uploaded_.reset();
      staged_.reset();
      break;
    case Op::kRequestBlockPart: {
      PartRef part{args_[0], args_[1], args_[2]};
      auto bytes = cards_[part.slot]->Bytes(part.block * kBlock + part.part * kPart, kPart);
      std::copy(bytes.begin(), bytes.end(), fetch_buffer_.begin());
      requested_part_ = part;
      break;
    }
    case Op::kFetchPart:
      if (requested_part_->part == 3) ++counters_.block_reads;
      requested_part_.reset();
      break;
    case Op::kUploadPart:
      uploaded_.emplace();
      std::copy(args_.begin(), args_.end(), uploaded_->begin());
      break;
    case Op::kWriteBlockPart: {
      std::uint8_t slot = args_[0], block = args_[1], part = args_[2];
      if (!staged_ || staged_->slot != slot || staged_->block != block) {
        staged_ = StagedBlock{slot, block, 0, {}};
      }
      std::copy(uploaded_->begin(), uploaded_->end(), staged_->bytes.begin() + part * kPart);
      staged_->parts |= static_cast<std::uint8_t>(1u << part);
      uploaded_.reset();
      break;
    }
    case Op::kCommitBlockWrite: {
      std::uint8_t slot = args_[0], block = args_[1];
      // Only a block whose four parts all arrived gets here (see ValidateArgs).
      WriteCard(slot, block * kBlock, staged_->bytes);
      ++counters_.block_writes;
      staged_.reset();
      break;
    }
    case Op::kGetPage:
    case Op::kGetCardPresence:
      break;
  }
}

void UnitLogic::WriteCard(std::size_t slot, std::size_t offset,
                          std::span<const std::uint8_t> bytes) {
  if (cards_[slot]->Write(offset, bytes)) return;
  // The PC already had its reply, so the card goes away: the next command finds no card
  // instead of a card that lost the write.
  FileError(slot, std::string("the write did not reach the file (") + std::strerror(errno) +
                      "); the card is taken out");
  cards_[slot].reset();
}

bool UnitLogic::Writable(std::size_t slot) {
  if (!cards_[slot] || !cards_[slot]->ReadOnly()) return true;
  FileError(slot, "the card file is read-only; nothing was written");
  return false;
}

void UnitLogic::FileError(std::size_t slot, const std::string& text) {
  std::string line = cards_[slot]->Path().string() + ": " + text;
  // Retries of one refused write say the same thing once.
  if (file_errors_.empty() || file_errors_.back() != line) file_errors_.push_back(std::move(line));
}

void UnitLogic::CheckCardFiles() {
  for (std::size_t slot = 0; slot < cards_.size(); ++slot) {
    if (!cards_[slot]) continue;
    const std::string changed = cards_[slot]->ChangedUnderneath();
    if (changed.empty()) continue;
    FileError(slot, changed + "; the card is taken out");
    cards_[slot].reset();
  }
}

void UnitLogic::End() {
  bool mid_command = stage_ == Stage::kSecond || stage_ == Stage::kArgs || stage_ == Stage::kData ||
                     stage_ == Stage::kChecksum;
  if (mid_command) Violation("the transaction ended before the checksum exchange");
  stage_ = Stage::kDone;
  command_ = nullptr;
}

}  // namespace quorvel
