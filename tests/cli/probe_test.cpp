// quorvel-cli probe run as a program: without a unit it says why no unit answered, exits
// with 1, and never creates a configuration file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace quorvel {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunCli(const testing::TempDir& dir, const std::string& arguments) {
  const std::string command = "cd '" + dir.path().string() + "' && '" QUORVEL_CLI_PATH "' " +
                              arguments + " >out.txt 2>err.txt";
  const int raw = std::system(command.c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, dir.Read("out.txt"), dir.Read("err.txt")};
  std::filesystem::remove(dir.path() / "out.txt");
  std::filesystem::remove(dir.path() / "err.txt");
  return run;
}

TEST(ProbeCommandTest, WithoutAUnitSaysWhyAndFails) {
  testing::TempDir dir;
  const CliRun run = RunCli(dir, "probe");
  if (run.status == 0) GTEST_SKIP() << "a unit answered on this machine: " << run.out;
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, StartsWith("quorvel-cli: no unit answered"));
  EXPECT_THAT(run.err, HasSubstr("0x0378"));
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "DID2.cfg"));
}

TEST(ProbeCommandTest, UsesThePortAddressOfTheConfigurationAndLeavesTheFileAlone) {
  testing::TempDir dir;
  dir.Write("DID2.cfg", "632\r\n00000001\r\n");
  const CliRun run = RunCli(dir, "probe");
  if (run.status == 0) GTEST_SKIP() << "a unit answered on this machine: " << run.out;
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("0x0278"));
  EXPECT_EQ(dir.Read("DID2.cfg"), "632\r\n00000001\r\n");
}

TEST(ProbeCommandTest, TakesNoArguments) {
  testing::TempDir dir;
  EXPECT_EQ(RunCli(dir, "probe slot1").status, 2);
}

}  // namespace
}  // namespace quorvel
