// quorvel-cli probe: without a unit it says why no unit answered, exits with 1, and never
// creates a configuration file; on the virtual unit it describes the unit. No test here
// reaches the machine's own parallel port.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/link_setup.h"
#include "cli/command.h"
#include "port/linux_parallel_port.h"
#include "support/cli_run.h"
#include "support/fake_kernel.h"
#include "support/temp_dir.h"
#include "support/trace_check.h"

namespace quorvel {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

using testing::CliRun;

CliRun RunCli(const testing::TempDir& dir, const std::string& arguments) {
  return testing::RunCli(dir.path(), arguments);
}

// The probe on the machine's port, run in this process with the port opened over a scripted
// kernel that has no parallel port and refuses direct I/O.
class ProbeOnThePortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRealPortOpener([this](std::uint16_t base) {
      bases_.push_back(base);
      return std::make_unique<LinuxParallelPort>(
          base, kernel_.Calls(),
          LinuxPortPaths{(dir_.path() / "proc").string(), (dir_.path() / "dev").string()});
    });
  }
  void TearDown() override { SetRealPortOpener({}); }

  CliRun Probe() {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    CliRun run;
    run.status = cli::Commands().at("probe").run(cli::ParseArgs({"probe"}));
    run.out = ::testing::internal::GetCapturedStdout();
    run.err = ::testing::internal::GetCapturedStderr();
    std::filesystem::current_path(before);
    return run;
  }
  // Whether anything was written to a port register, by ppdev or by direct I/O.
  bool PortWritten() const {
    for (const std::string& call : kernel_.log) {
      if (call.starts_with("outb") || call.starts_with("PPW")) return true;
    }
    return false;
  }

  testing::TempDir dir_;
  testing::FakeKernel kernel_;
  std::vector<std::uint16_t> bases_;
};

TEST_F(ProbeOnThePortTest, WithoutAUnitSaysWhyAndFails) {
  const CliRun run = Probe();
  EXPECT_EQ(bases_, std::vector<std::uint16_t>{0x378}) << "the port came from the scripted kernel";
  EXPECT_FALSE(PortWritten());
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, StartsWith("quorvel-cli: no unit answered"));
  EXPECT_THAT(run.err, HasSubstr("0x0378"));
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "DID2.cfg"));
}

TEST_F(ProbeOnThePortTest, UsesThePortAddressOfTheConfigurationAndLeavesTheFileAlone) {
  dir_.Write("DID2.cfg", "632\r\n00000001\r\n");
  const CliRun run = Probe();
  EXPECT_EQ(bases_, std::vector<std::uint16_t>{0x278});
  EXPECT_FALSE(PortWritten());
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("0x0278"));
  EXPECT_EQ(dir_.Read("DID2.cfg"), "632\r\n00000001\r\n");
}

TEST(ProbeCommandTest, TakesNoArguments) {
  testing::TempDir dir;
  EXPECT_EQ(RunCli(dir, "probe slot1").status, 2);
}

TEST(ProbeCommandTest, VirtualUnitWithStatsAndTrace) {
  testing::TempDir dir;
  dir.Write("cards/slot2.dcm", std::string(131072, '\xFF'));
  const CliRun run = RunCli(dir, "--virtual-unit cards probe --stats --trace t.txt");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "port: virtual two-slot unit in cards (slot1: empty, slot2: card)\n"
            "unit: Vantric two-slot unit\nslot1: no card\nslot2: card\n");
  EXPECT_THAT(run.err,
              StartsWith("link: 4 transactions, 0 block reads, 0 block writes, 0 retries"));
  EXPECT_THAT(run.err, HasSubstr("0 protocol violations"));
  const std::string trace = dir.Read("t.txt");
  EXPECT_THAT(trace, StartsWith("W 037A 00\nW 0378 01\nR 0379 40\nW 037A 01\nR 0379 00\n"));
}

TEST(ProbeCommandTest, VirtualPagedCardReportsItsPages) {
  testing::TempDir dir;
  dir.Write("card.bin", std::string(4 * 131072, '\0'));
  const CliRun run = RunCli(dir, "probe --virtual-paged card.bin");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("unit: ORIEL paged card\npages: 4 (highest page 3)\n"));
  const CliRun bad = RunCli(dir, "probe --virtual-paged missing.bin");
  EXPECT_EQ(bad.status, 1);
  EXPECT_THAT(bad.err, StartsWith("quorvel-cli: missing.bin: "));
}

TEST(ProbeCommandTest, TraceOfACardCommandOnTheVirtualUnitHasWholeTransactionsOnly) {
  testing::TempDir dir;
  dir.Write("cards/slot1.dcm", std::string(131072, '\xFF'));
  ASSERT_EQ(RunCli(dir, "format cards/slot1.dcm --blocks 200").status, 0);
  const CliRun run = RunCli(dir, "--virtual-unit cards --trace t.txt list slot1 --stats");
  ASSERT_EQ(run.status, 0) << run.err;
  const testing::TraceSummary trace = testing::CheckTrace(dir.Read("t.txt"), 0x378);
  EXPECT_EQ(trace.error, "");
  EXPECT_GT(trace.transactions, 10);
  EXPECT_THAT(run.err, HasSubstr("link: " + std::to_string(trace.transactions) + " transactions"));
  EXPECT_THAT(run.err, HasSubstr(" 0 protocol violations"));
}

TEST(ProbeCommandTest, TraceOfAWholeCardDumpHasWholeTransactionsOnly) {
  testing::TempDir dir;
  dir.Write("DID2.cfg", "888\r\n0\r\n0\r\n0\r\n9216\r\n0\r\n1\r\n");
  dir.Write("cards/slot1.dcm", std::string(131072, '\x5A'));
  const CliRun run = RunCli(dir, "--virtual-unit cards --trace t.txt dump slot1 out.dcm --stats");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(dir.Read("out.dcm"), dir.Read("cards/slot1.dcm"));
  const testing::TraceSummary trace = testing::CheckTrace(dir.Read("t.txt"), 0x378);
  EXPECT_EQ(trace.error, "");
  EXPECT_THAT(run.err, HasSubstr("link: " + std::to_string(trace.transactions) + " transactions"));
  EXPECT_GT(trace.bytes, 256 * 512);  // every block's data crossed in whole bytes
  EXPECT_THAT(run.err, HasSubstr("256 block reads"));
  EXPECT_THAT(run.err, HasSubstr(" 0 protocol violations"));
}

}  // namespace
}  // namespace quorvel
