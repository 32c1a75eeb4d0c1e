// A LinkDevice wired to a virtual unit over card files in a temporary folder, with zero
// delays and a test clock; every test ends by checking that the unit saw no broken rule.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "link/fake_clock.h"
#include "link/link_device.h"
#include "support/card_files.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel::testing {

class LinkFixture : public ::testing::Test {
 protected:
  LinkFixture() {
    settings_.poll_delay = 0;
    settings_.byte_delay = 0;
    settings_.bit_delay = 0;
    clock_.TickEvery(1000);  // a silent unit times out after about a thousand polls
  }

  void TearDown() override {
    if (unit_) {
      std::string all;
      for (const std::string& violation : unit_->Violations()) all += violation + "\n";
      EXPECT_TRUE(unit_->Violations().empty()) << all;
      EXPECT_TRUE(unit_->FileErrors().empty());
    }
  }

  // The two-slot unit; a card in each slot with `present`, filled with a pattern.
  void UseTwoSlotUnit(bool slot1 = true, bool slot2 = true) {
    ReleaseUnit();
    std::string error;
    for (std::size_t slot = 0; slot < 2; ++slot) {
      card_bytes_[slot] = PatternBytes(kCardBytes, static_cast<std::uint32_t>(slot + 1));
      if (slot == 0 ? slot1 : slot2) {
        WriteFile(SlotFile(slot), card_bytes_[slot]);
      } else {
        std::filesystem::remove(SlotFile(slot));
      }
    }
    unit_ = VirtualUnit::TwoSlotFromFolder(dir_.path(), error);
    ASSERT_TRUE(unit_) << error;
    MakeDevice();
  }

  void UsePagedCard(std::size_t pages) {
    ReleaseUnit();
    std::string error;
    card_bytes_[0] = PatternBytes(pages * kCardBytes, 7);
    WriteFile(dir_.path() / "paged.bin", card_bytes_[0]);
    unit_ = VirtualUnit::Paged(dir_.path() / "paged.bin", error);
    ASSERT_TRUE(unit_) << error;
    MakeDevice();
  }

  void UseNothingAttached() {
    unit_ = VirtualUnit::NothingAttached();
    MakeDevice();
  }

  // A unit holds its card files until it goes; the next one takes them over.
  void ReleaseUnit() {
    device_.reset();
    unit_.reset();
  }

  void MakeDevice() {
    LinkHooks hooks;
    hooks.time_of_day = [this] { return clock_.Read(); };
    reports_.status_text = [this](std::string_view text) { labels_.emplace_back(text); };
    hooks.reports = &reports_;
    device_ = std::make_unique<LinkDevice>(*unit_, settings_, hooks);
  }

  std::filesystem::path SlotFile(std::size_t slot) const {
    return dir_.path() / (slot == 0 ? "slot1.dcm" : "slot2.dcm");
  }
  std::vector<std::uint8_t> Block(std::size_t card, std::size_t block, std::size_t page = 0) {
    auto begin = card_bytes_[card].begin() +
                 static_cast<std::ptrdiff_t>(page * kCardBytes + block * kBlockSize);
    return std::vector<std::uint8_t>(begin, begin + kBlockSize);
  }
  std::uint64_t Count(const std::string& command) const {
    auto it = unit_->Counters().commands.find(command);
    return it == unit_->Counters().commands.end() ? 0 : it->second;
  }
  // Puts a fault on the transaction `ahead` transactions from now (1 = the next one).
  void FaultAhead(std::uint64_t ahead, Fault fault) {
    unit_->InjectFault(unit_->Transactions() + ahead, fault);
  }

  TempDir dir_;
  LinkSettings settings_;
  FakeClock clock_;
  std::vector<std::string> labels_;
  Reports reports_;
  std::vector<std::uint8_t> card_bytes_[2];
  std::unique_ptr<VirtualUnit> unit_;
  std::unique_ptr<LinkDevice> device_;
};

inline Fault WrongChecksum(std::uint8_t xor_mask) {
  Fault fault;
  fault.kind = FaultKind::kWrongChecksum;
  fault.checksum_xor = xor_mask;
  return fault;
}

inline Fault OfKind(FaultKind kind) {
  Fault fault;
  fault.kind = kind;
  return fault;
}

}  // namespace quorvel::testing
