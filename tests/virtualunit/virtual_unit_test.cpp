// The virtual unit on its own: it must refuse and record every rule a PC side can break,
// load its card files carefully, write them only on completed writes, count its work and
// repeat seeded random faults exactly.
#include "virtualunit/virtual_unit.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>

#include <array>
#include <functional>

#include "link/link_device.h"
#include "support/card_files.h"
#include "support/unprivileged.h"

namespace quorvel {
namespace {

using testing::kCardBytes;

constexpr std::uint16_t kData = 0x378;
constexpr std::uint16_t kStatus = 0x379;
constexpr std::uint16_t kControl = 0x37A;

// A PC side that drives the registers by hand, so tests can break rules on purpose.
class RawPc {
 public:
  explicit RawPc(PortIo& port) : port_(port) {}

  void Select(std::uint8_t data_before = 0x01) {
    port_.WritePort(kData, data_before);
    for (int poll = 0; poll < 10 && (port_.ReadPort(kStatus) & 0x40) == 0; ++poll) {
    }
    port_.WritePort(kControl, 0x01);
    port_.ReadPort(kStatus);
  }
  void End() { port_.WritePort(kControl, 0x00); }

  std::uint8_t Exchange(std::uint8_t out, bool lsb_first = false) {
    std::uint8_t result = 0;
    for (int i = 0; i < 8; ++i) {
      int bit = lsb_first ? i : 7 - i;
      std::uint8_t data = ((out >> bit) & 1) != 0 ? 0x02 : 0x00;
      port_.WritePort(kData, data | 0x01);
      port_.WritePort(kData, data);
      port_.WritePort(kData, data | 0x01);
      result = static_cast<std::uint8_t>((result << 1) | ((port_.ReadPort(kStatus) >> 6) & 1));
    }
    return result;
  }
  // Sends bytes counting them into the checksum; returns the last reply.
  std::uint8_t Send(std::initializer_list<std::uint8_t> bytes) {
    std::uint8_t reply = 0;
    for (std::uint8_t byte : bytes) {
      checksum_ ^= byte;
      reply = Exchange(byte);
    }
    return reply;
  }
  std::uint8_t Checksum() const { return checksum_; }

 private:
  PortIo& port_;
  std::uint8_t checksum_ = 0;
};

class VirtualUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteFile(dir_.path() / "slot1.dcm", testing::PatternBytes(kCardBytes, 1));
    testing::WriteFile(dir_.path() / "paged.bin", testing::PatternBytes(4 * kCardBytes, 2));
    std::string error;
    two_slot_ = VirtualUnit::TwoSlotFromFolder(dir_.path(), error);
    ASSERT_TRUE(two_slot_) << error;
    paged_ = VirtualUnit::Paged(dir_.path() / "paged.bin", error);
    ASSERT_TRUE(paged_) << error;
  }

  static bool Recorded(const VirtualUnit& unit, const std::string& words) {
    for (const std::string& violation : unit.Violations()) {
      if (violation.find(words) != std::string::npos) return true;
    }
    return false;
  }

  testing::TempDir dir_;
  std::unique_ptr<VirtualUnit> two_slot_;
  std::unique_ptr<VirtualUnit> paged_;
};

TEST_F(VirtualUnitTest, AnswersTheSyncReplyAndTheEchoRunOfGetPage) {
  RawPc pc(*two_slot_);
  pc.Select();
  EXPECT_EQ(pc.Send({0x40}), 0xA9);
  EXPECT_EQ(pc.Send({0x7E}), 0x55);
  std::uint8_t low = pc.Send({0x55});
  std::uint8_t high = pc.Send({low});
  EXPECT_EQ(low, 0xFF);
  EXPECT_EQ(high, 0x00);
  EXPECT_EQ(pc.Exchange(pc.Checksum()), pc.Checksum());
  pc.End();
  EXPECT_TRUE(two_slot_->Violations().empty());
  EXPECT_EQ(two_slot_->Counters().commands.at("GetPage"), 1u);
}

TEST_F(VirtualUnitTest, BitsSentLsbFirstAreAnUnknownCommand) {
  RawPc pc(*two_slot_);
  pc.Select();
  pc.Exchange(0x54, true);  // arrives as 0x2A
  EXPECT_NE(pc.Exchange(0x66, true), 0x55);
  pc.End();
  EXPECT_TRUE(Recorded(*two_slot_, "unknown command"));
}

TEST_F(VirtualUnitTest, WrongEchoFailsTheCommandAndIsRecorded) {
  RawPc pc(*two_slot_);
  pc.Select();
  pc.Send({0x40, 0x7E});
  std::uint8_t low = pc.Send({0x00});  // should have echoed 0x55
  pc.Send({low});
  EXPECT_NE(pc.Exchange(pc.Checksum()) & 0xFE, pc.Checksum() & 0xFE);
  pc.End();
  EXPECT_TRUE(Recorded(*two_slot_, "echo 00 in data exchange 0, expected 55"));
}

TEST_F(VirtualUnitTest, WrongChecksumFromThePcIsRecordedAndNothingHappens) {
  RawPc pc(*paged_);
  pc.Select();
  pc.Send({0x40, 0x6A, 0x02, 0x00});
  pc.Exchange(pc.Checksum() ^ 0x01);
  pc.End();
  EXPECT_TRUE(Recorded(*paged_, "(SetPage): checksum"));
  EXPECT_EQ(paged_->Page(), 0);
}

TEST_F(VirtualUnitTest, FramingRulesAreChecked) {
  {
    RawPc pc(*two_slot_);
    pc.Select(0x05);  // data register not at "clock high, data low"
    pc.End();
    EXPECT_TRUE(Recorded(*two_slot_, "select with the data register at 05"));
  }
  {
    RawPc pc(*two_slot_);
    pc.Select();
    two_slot_->WritePort(kData, 0x00);
    two_slot_->WritePort(kData, 0x02);  // data moves while the clock is low
    two_slot_->WritePort(kData, 0x03);
    pc.End();
    EXPECT_TRUE(Recorded(*two_slot_, "changed while the clock was low"));
    EXPECT_TRUE(Recorded(*two_slot_, "ended after 1 bits"));
  }
  {
    RawPc pc(*two_slot_);
    pc.Select();
    two_slot_->WritePort(kData, 0x81);
    pc.End();
    EXPECT_TRUE(Recorded(*two_slot_, "bits 2 to 7 must stay 0"));
  }
  two_slot_->WritePort(kControl, 0x04);
  EXPECT_TRUE(Recorded(*two_slot_, "only the select bit"));
}

TEST_F(VirtualUnitTest, CommandCutShortOrOverlongIsRecorded) {
  RawPc pc(*two_slot_);
  pc.Select();
  pc.Send({0x03, 0x3A, 0x00});
  pc.End();
  EXPECT_TRUE(Recorded(*two_slot_, "ended before the checksum exchange"));

  RawPc again(*two_slot_);
  again.Select();
  again.Send({0xA5, 0xCC, 0x55});
  again.Exchange(again.Checksum());
  again.Exchange(0x00);
  again.End();
  EXPECT_TRUE(Recorded(*two_slot_, "sent after the checksum exchange"));
}

TEST_F(VirtualUnitTest, ReadMemoryChecksItsLengthAndAddress) {
  struct Case {
    std::initializer_list<std::uint8_t> args;
    const char* violation;
  };
  for (const Case& c : {Case{{0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, "length 256, expected 512"},
                        Case{{0x01, 0xFE, 0x01, 0x00, 0x00, 0x02}, "outside the page"},
                        // Far beyond the card file: refused before any byte of it is read.
                        Case{{0x00, 0x00, 0x00, 0x80, 0x00, 0x02}, "address 2147483648"}}) {
    RawPc pc(*paged_);
    pc.Select();
    pc.Send({0x02, 0xA9});
    std::uint8_t reply = pc.Send(c.args);
    for (int i = 0; i < 512; ++i) reply = pc.Send({reply});
    EXPECT_NE(pc.Exchange(pc.Checksum()) & 0xFE, pc.Checksum() & 0xFE);
    pc.End();
    EXPECT_TRUE(Recorded(*paged_, c.violation)) << c.violation;
  }
  EXPECT_EQ(paged_->Counters().block_reads, 0u);
}

TEST_F(VirtualUnitTest, BytesAfterAWrongSyncReplyAreRecorded) {
  Fault fault;
  fault.kind = FaultKind::kWrongSync;
  two_slot_->InjectFault(1, fault);
  RawPc pc(*two_slot_);
  pc.Select();
  EXPECT_EQ(pc.Send({0x40, 0x6A}), 0x56);
  pc.Send({0x00});
  pc.End();
  EXPECT_TRUE(Recorded(*two_slot_, "after a wrong sync reply"));
}

TEST_F(VirtualUnitTest, ClockingWithoutAnAnsweredHandshakeIsRecorded) {
  Fault fault;
  fault.kind = FaultKind::kNoAnswer;
  two_slot_->InjectFault(1, fault);
  RawPc pc(*two_slot_);
  pc.Select();
  EXPECT_EQ(pc.Send({0x40}), 0x00);
  pc.End();
  EXPECT_TRUE(Recorded(*two_slot_, "did not answer"));
}

TEST_F(VirtualUnitTest, SlowHandshakeRaisesTheLineOnlyAfterKPolls) {
  Fault fault;
  fault.kind = FaultKind::kSlowHandshake;
  fault.polls = 3;
  two_slot_->InjectFault(1, fault);
  EXPECT_EQ(two_slot_->ReadPort(kStatus), 0x00);
  EXPECT_EQ(two_slot_->ReadPort(kStatus), 0x00);
  EXPECT_EQ(two_slot_->ReadPort(kStatus), 0x00);
  EXPECT_EQ(two_slot_->ReadPort(kStatus), 0x40);
}

TEST_F(VirtualUnitTest, WritesReachTheFileOnlyWhenTheCommitCompletes) {
  LinkSettings settings;
  settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
  LinkDevice device(*two_slot_, settings);
  std::array<std::uint8_t, kPartSize> part;
  part.fill(0xC3);
  ASSERT_TRUE(device.BeginSlotAccess());
  for (std::uint8_t n = 0; n < 4; ++n) {
    ASSERT_TRUE(device.UploadPart(part));
    ASSERT_TRUE(device.WriteBlockPart(0, 200, n));
  }
  std::vector<std::uint8_t> before = testing::PatternBytes(kCardBytes, 1);
  EXPECT_EQ(testing::ReadFile(dir_.path() / "slot1.dcm"), before);
  Fault fault;
  fault.kind = FaultKind::kFlipReceivedBit;
  fault.byte = 1;
  fault.bit = 1;
  two_slot_->InjectFault(two_slot_->Transactions() + 1, fault);
  EXPECT_FALSE(device.CommitBlockWrite(0, 202));  // arrives as block 200; the checksum catches it
  EXPECT_EQ(testing::ReadFile(dir_.path() / "slot1.dcm"), before);
  ASSERT_TRUE(device.CommitBlockWrite(0, 200));
  ASSERT_TRUE(device.EndSlotAccess());
  std::vector<std::uint8_t> after = testing::ReadFile(dir_.path() / "slot1.dcm");
  EXPECT_TRUE(std::all_of(after.begin() + 200 * kBlockSize, after.begin() + 201 * kBlockSize,
                          [](std::uint8_t b) { return b == 0xC3; }));
  EXPECT_EQ(two_slot_->Counters().block_writes, 1u);
  EXPECT_TRUE(two_slot_->Violations().empty());
}

TEST_F(VirtualUnitTest, ACommitOfABlockWithAMissingPartFails) {
  LinkSettings settings;
  settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
  LinkDevice device(*two_slot_, settings);
  std::array<std::uint8_t, kPartSize> part;
  part.fill(0xC3);
  ASSERT_TRUE(device.BeginSlotAccess());
  for (std::uint8_t n = 0; n < 3; ++n) {
    ASSERT_TRUE(device.UploadPart(part));
    ASSERT_TRUE(device.WriteBlockPart(0, 200, n));
  }
  EXPECT_FALSE(device.CommitBlockWrite(0, 200));
  EXPECT_FALSE(device.CommitBlockWrite(0, 201));
  ASSERT_TRUE(device.EndSlotAccess());
  EXPECT_EQ(testing::ReadFile(dir_.path() / "slot1.dcm"), testing::PatternBytes(kCardBytes, 1));
  EXPECT_EQ(two_slot_->Counters().block_writes, 0u);
  EXPECT_TRUE(two_slot_->Violations().empty());
}

TEST_F(VirtualUnitTest, CountsPortAccessesAndCommands) {
  LinkSettings settings;
  settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
  LinkDevice device(*two_slot_, settings);
  std::uint16_t page = 0;
  ASSERT_TRUE(device.GetPage(page));
  // Handshake: data, status, control, status; five bytes of three writes and one read per
  // bit; the release of the select line.
  EXPECT_EQ(two_slot_->Counters().port_writes, 1u + 1u + 5u * 8u * 3u + 1u);
  EXPECT_EQ(two_slot_->Counters().port_reads, 2u + 5u * 8u);
  EXPECT_EQ(two_slot_->Transactions(), 1u);
}

TEST_F(VirtualUnitTest, SeededRandomFaultsRepeatExactly) {
  two_slot_.reset();  // each run's unit takes the card file for itself
  auto run = [&](std::uint32_t seed) {
    std::string error;
    auto unit = VirtualUnit::TwoSlotFromFolder(dir_.path(), error);
    unit->UseRandomFaults(seed, 3);
    LinkSettings settings;
    settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
    int clock = 0;
    LinkHooks hooks;
    hooks.time_of_day = [&clock] { return std::to_string(clock++ / 1000); };
    LinkDevice device(*unit, settings, hooks);
    std::string results;
    std::array<std::uint8_t, kBlockSize> buffer{};
    for (int i = 0; i < 40; ++i) results += device.LinkReadBlock(0, 3, buffer) ? '1' : '0';
    EXPECT_TRUE(unit->Violations().empty());
    return results;
  };
  std::string first = run(7);
  EXPECT_EQ(run(7), first);
  EXPECT_NE(run(8), first);
  EXPECT_NE(first.find('0'), std::string::npos);
  EXPECT_NE(first.find('1'), std::string::npos);
}

// Cleared faults, chosen or random, no longer reach the link: every read succeeds.
TEST_F(VirtualUnitTest, ClearedFaultsNoLongerReachTheLink) {
  LinkSettings settings;
  settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
  int clock = 0;
  LinkHooks hooks;
  hooks.time_of_day = [&clock] { return std::to_string(clock++ / 1000); };
  LinkDevice device(*two_slot_, settings, hooks);
  two_slot_->UseRandomFaults(5, 2);
  Fault fault;
  fault.kind = FaultKind::kWrongSync;
  for (std::uint64_t at = 1; at <= 400; ++at) two_slot_->InjectFault(at, fault);
  std::array<std::uint8_t, kBlockSize> buffer{};
  EXPECT_FALSE(device.LinkReadBlock(0, 3, buffer));
  two_slot_->ClearFaults();
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(device.LinkReadBlock(0, 3, buffer));
  EXPECT_TRUE(two_slot_->Violations().empty());
}

TEST(VirtualUnitFiles, MissingSlotFileIsAnEmptySlotAndBadFilesAreRefused) {
  testing::TempDir dir;
  std::string error;
  testing::WriteFile(dir.path() / "slot2.dcm", testing::PatternBytes(kCardBytes, 3));
  auto unit = VirtualUnit::TwoSlotFromFolder(dir.path(), error);
  ASSERT_TRUE(unit) << error;
  EXPECT_FALSE(unit->HasCard(0));
  EXPECT_TRUE(unit->HasCard(1));

  testing::WriteFile(dir.path() / "slot1.dcm", testing::PatternBytes(1000, 3));
  EXPECT_FALSE(VirtualUnit::TwoSlotFromFolder(dir.path(), error));
  EXPECT_NE(error.find("1000 bytes, expected 131072"), std::string::npos) << error;

  EXPECT_FALSE(VirtualUnit::TwoSlotFromFolder(dir.path() / "nowhere", error));
  EXPECT_NE(error.find("no such folder"), std::string::npos);

  testing::WriteFile(dir.path() / "three.bin", testing::PatternBytes(3 * kCardBytes, 3));
  EXPECT_FALSE(VirtualUnit::Paged(dir.path() / "three.bin", error));
  EXPECT_NE(error.find("expected 262144, 524288, 1048576 or 2097152"), std::string::npos) << error;

  testing::WriteFile(dir.path() / "sixteen.bin", testing::PatternBytes(16 * kCardBytes, 3));
  auto paged = VirtualUnit::Paged(dir.path() / "sixteen.bin", error);
  ASSERT_TRUE(paged) << error;
  EXPECT_EQ(paged->Pages(), 16u);
}

// A link with no delays on `unit`.
struct QuickLink {
  explicit QuickLink(VirtualUnit& unit) : device(unit, settings) {}
  static LinkSettings NoDelays() {
    LinkSettings settings;
    settings.poll_delay = settings.byte_delay = settings.bit_delay = -1;
    return settings;
  }
  LinkSettings settings = NoDelays();
  LinkDevice device;
};

bool Mentions(const std::vector<std::string>& lines, const std::string& words) {
  for (const std::string& line : lines) {
    if (line.find(words) != std::string::npos) return true;
  }
  return false;
}

TEST_F(VirtualUnitTest, ACardFileDeletedReplacedShortenedOrChangedIsACardPulledOut) {
  two_slot_.reset();  // each case's unit takes the card file for itself
  const std::filesystem::path file = dir_.path() / "slot1.dcm";
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"deleted", [&] { std::filesystem::remove(file); }},
      {"replaced by another file",
       [&] {
         testing::WriteFile(dir_.path() / "new.dcm", testing::PatternBytes(kCardBytes, 9));
         std::filesystem::rename(dir_.path() / "new.dcm", file);
       }},
      {"shortened", [&] { std::filesystem::resize_file(file, 1000); }},
      {"changed by another program",
       [&] { testing::WriteFile(file, testing::PatternBytes(kCardBytes, 9)); }},
  };
  for (const auto& [what, change] : cases) {
    SCOPED_TRACE(what);
    testing::WriteFile(file, testing::PatternBytes(kCardBytes, 1));
    std::string error;
    auto unit = VirtualUnit::TwoSlotFromFolder(dir_.path(), error);
    ASSERT_TRUE(unit) << error;
    QuickLink link(*unit);
    bool one = false, two = false;
    ASSERT_TRUE(link.device.GetCardPresence(one, two));
    EXPECT_TRUE(one);
    change();
    ASSERT_TRUE(link.device.GetCardPresence(one, two));
    EXPECT_FALSE(one);
    EXPECT_FALSE(unit->HasCard(0));
    EXPECT_TRUE(Mentions(unit->FileErrors(), "slot1.dcm: the card file was " + what));
    EXPECT_TRUE(unit->Violations().empty());
  }
}

TEST_F(VirtualUnitTest, AWriteThatDoesNotReachTheFileTakesTheCardOut) {
  two_slot_.reset();
  std::string error;
  auto unit = VirtualUnit::TwoSlotFromFolder(dir_.path(), error);
  ASSERT_TRUE(unit) << error;
  QuickLink link(*unit);
  std::array<std::uint8_t, kBlockSize> block{};
  block.fill(0x5A);
  // Every write beyond 64 KiB fails, as on a full disk.
  rlimit old_limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit limit = old_limit;
  limit.rlim_cur = 65536;
  const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool written = link.device.LinkWriteBlock(0, 200, block);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::signal(SIGXFSZ, old_handler);
  // The unit had already replied; the card is gone from then on.
  EXPECT_TRUE(written);
  EXPECT_FALSE(unit->HasCard(0));
  EXPECT_TRUE(Mentions(unit->FileErrors(), "slot1.dcm: the write did not reach the file"));
  EXPECT_FALSE(link.device.LinkWriteBlock(0, 200, block));
  EXPECT_EQ(testing::ReadFile(dir_.path() / "slot1.dcm"), testing::PatternBytes(kCardBytes, 1));
}

TEST(VirtualUnitFiles, ACardFileHeldByAnotherProgramStaysOutUntilLetGo) {
  testing::TempDir dir;
  testing::WriteFile(dir.path() / "slot1.dcm", testing::PatternBytes(kCardBytes, 1));
  testing::WriteFile(dir.path() / "slot2.dcm", testing::PatternBytes(kCardBytes, 2));
  // Another program holds slot1.dcm for writing.
  const int held = ::open((dir.path() / "slot1.dcm").c_str(), O_RDWR);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  std::string error;
  auto unit = VirtualUnit::TwoSlotFromFolder(dir.path(), error);
  ASSERT_TRUE(unit) << error;
  EXPECT_FALSE(unit->HasCard(0));
  EXPECT_TRUE(unit->HasCard(1));
  EXPECT_NE(unit->InUse(0).find("slot1.dcm: in use by another program"), std::string::npos);
  auto reader = VirtualUnit::TwoSlotFromFolder(dir.path(), error, VirtualUnit::kDefaultBasePort,
                                               CardFileAccess::kRead);
  ASSERT_TRUE(reader) << error;
  EXPECT_FALSE(reader->HasCard(0));
  EXPECT_FALSE(reader->HasCard(1));  // the first unit may write it

  ::close(held);
  QuickLink link(*unit);
  bool one = false, two = false;
  ASSERT_TRUE(link.device.GetCardPresence(one, two));
  EXPECT_TRUE(one && two);
  EXPECT_TRUE(unit->InUse(0).empty());

  // Two units that only read share the files.
  unit.reset();
  reader.reset();
  auto first = VirtualUnit::TwoSlotFromFolder(dir.path(), error, VirtualUnit::kDefaultBasePort,
                                              CardFileAccess::kRead);
  auto second = VirtualUnit::TwoSlotFromFolder(dir.path(), error, VirtualUnit::kDefaultBasePort,
                                               CardFileAccess::kRead);
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(first->HasCard(0) && second->HasCard(0));
}

TEST(VirtualUnitFiles, AReadOnlyCardFileIsReadAndKeepsTheOtherSlotWorking) {
  testing::TempDir dir;
  const std::filesystem::path one = dir.path() / "slot1.dcm";
  const std::filesystem::path two = dir.path() / "slot2.dcm";
  testing::WriteFile(one, testing::PatternBytes(kCardBytes, 1));
  testing::WriteFile(two, testing::PatternBytes(kCardBytes, 2));
  namespace fs = std::filesystem;
  fs::permissions(one, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(two, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                          fs::perms::others_exec));
  // Permissions do not bind the superuser: the check runs as an ordinary user.
  EXPECT_EQ(quorvel::testing::RunUnprivileged([&] {
              std::string error;
              auto unit = VirtualUnit::TwoSlotFromFolder(dir.path(), error);
              if (!unit) return 1;
              if (!unit->CardReadOnly(0) || unit->CardReadOnly(1)) return 2;
              QuickLink link(*unit);
              std::array<std::uint8_t, kBlockSize> block{};
              if (link.device.LinkWriteBlock(0, 10, block)) return 3;
              if (!link.device.LinkWriteBlock(1, 10, block)) return 4;
              if (!unit->HasCard(0)) return 5;  // refused, not pulled out
              if (!Mentions(unit->FileErrors(), "slot1.dcm: the card file is read-only")) return 6;
              return 0;
            }),
            0);
  EXPECT_EQ(testing::ReadFile(one), testing::PatternBytes(kCardBytes, 1));
}

}  // namespace
}  // namespace quorvel
