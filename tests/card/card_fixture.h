// Test fixtures for the card layer: cards built byte by byte (independently of the code under
// test), a scripted link for the slots, a recording message seam and temporary files.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "card/card_image.h"
#include "card/slot_link.h"
#include "host/messages.h"
#include "host/reports.h"
#include "support/temp_dir.h"

namespace quorvel::test {

// A whole card kept in logical order; Bytes() gives the image in link order.
class CardBuilder {
 public:
  // A formatted card: root fields, every block free, directory chain 253 ... 241.
  explicit CardBuilder(std::uint8_t user_blocks = 200);

  // Puts a save into directory slot `slot` on the blocks given in chain order; each block is
  // filled with a pattern of its own. A game gets type 0xCC and first block 0.
  void AddSave(int slot, const std::string& name, const std::vector<std::uint8_t>& blocks,
               bool game = false, std::uint8_t icons = 1,
               const std::string& description = "A TEST SAVE");

  std::array<std::uint8_t, 512>& Logical(int block) { return blocks_[block]; }
  std::uint8_t* Entry(int slot);  // the 32-byte directory entry of `slot`
  void SetFat(int block, std::uint16_t value);
  std::uint16_t Fat(int block) const;

  std::vector<std::uint8_t> Bytes() const;
  void WriteTo(const std::filesystem::path& path) const;

 private:
  std::array<std::array<std::uint8_t, 512>, 256> blocks_{};
};

// The pattern AddSave writes into block `index` of a save (logical order).
std::array<std::uint8_t, 512> SavePattern(int slot, int index);

// Blocks 0..255 of an image in link order, reversed into logical order.
std::array<std::uint8_t, 512> LogicalBlock(const std::vector<std::uint8_t>& image, int block);

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path);

using TempDir = ::quorvel::testing::TempDir;

// Writes `builder`'s card to `dir`/`name` and opens it as the card's image file.
void OpenBuilt(CardImage& card, const CardBuilder& builder, const TempDir& dir,
               const std::string& name = "card.dcm");

// Two cards behind a scripted link: failures to inject and counters per block.
class ScriptedSlots : public SlotLink {
 public:
  std::array<std::vector<std::uint8_t>, 2> cards;  // link order, 131,072 bytes each
  int fail_next_reads = 0;
  int fail_next_writes = 0;
  std::map<int, int> fail_reads_of;   // block -> attempts still to fail
  std::map<int, int> fail_writes_of;  // block -> attempts still to fail
  int read_calls = 0;
  int write_calls = 0;
  std::map<int, int> reads_per_block;  // block -> successful reads

  bool ReadSlotBlock(std::uint8_t slot, std::uint8_t block,
                     std::span<std::uint8_t, kBlockSize> buffer) override;
  bool WriteSlotBlock(std::uint8_t slot, std::uint8_t block,
                      std::span<const std::uint8_t, kBlockSize> data) override;
};

class RecordingMessages : public Messages {
 public:
  std::vector<std::string> informed;
  std::vector<std::string> asked;
  bool answer = true;

  void Inform(std::string_view text) override { informed.emplace_back(text); }
  void Warn(std::string_view text) override { informed.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    asked.emplace_back(text);
    return answer;
  }
  Answer AskYesNoCancel(std::string_view text) override {
    asked.emplace_back(text);
    return answer ? Answer::kYes : Answer::kNo;
  }
};

// The card layer's surroundings for cards on `link`, with no reports and optional messages.
inline CardEnvironment SlotsEnvironment(SlotLink& link, Messages* messages = nullptr) {
  CardEnvironment environment;
  environment.link = &link;
  environment.messages = messages;
  return environment;
}

// Slot 1 and slot 2 over a scripted link, with the messages and reports the block layer
// uses; the cards start empty.
class ScriptedSlotTest : public ::testing::Test {
 protected:
  ScriptedSlotTest() {
    env.link = &slots;
    env.messages = &messages;
    reports.link_gave_up = [this] { ++link_gave_up; };
    env.reports = &reports;
  }
  ScriptedSlots slots;
  RecordingMessages messages;
  int link_gave_up = 0;  // how often the block layer reported that the link gave up
  Reports reports;
  CardEnvironment env;
  CardImage slot1{kSourceSlot1, &env};
  CardImage slot2{kSourceSlot2, &env};
};

}  // namespace quorvel::test
