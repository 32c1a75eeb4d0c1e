// quorvel-cli run as a program on inputs that are not plain files (a FIFO with no writer, a
// device) and on a large code file: refused at once, or streamed in little memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "card/card_fixture.h"
#include "support/card_files.h"
#include "support/cli_run.h"

namespace quorvel {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;
using testing::ReadFile;

// A run that would wait forever on a FIFO is cut off after this.
constexpr char kTimeLimit[] = "timeout 20 ";

class CliInputFiles : public ::testing::Test {
 protected:
  CliInputFiles() {
    dir_.Write("DID2.cfg", "888\r\n0\r\n0\r\n0\r\n9216\r\n0\r\n1\r\n");
    test::CardBuilder(200).WriteTo(dir_ / "card.dcm");
    std::filesystem::create_directory(dir_ / "vu");
    test::CardBuilder(200).WriteTo(dir_ / "vu" / "slot1.dcm");
    EXPECT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  }

  CliRun Cli(const std::string& arguments, const std::string& before = kTimeLimit) {
    return testing::RunCli(dir_.path(), arguments, before);
  }

  testing::TempDir dir_;
};

TEST_F(CliInputFiles, FifosAndDevicesAreRefusedWithoutWaiting) {
  const auto card = ReadFile(dir_ / "card.dcm");
  const auto slot = ReadFile(dir_ / "vu" / "slot1.dcm");
  for (const char* arguments : {
           "disasm fifo",
           "disasm /dev/null",
           "import card.dcm fifo",
           "import card.dcm /dev/zero",
           "card-icon card.dcm fifo",
           "list fifo",
           "copy fifo GAME card.dcm",
           "--virtual-unit vu restore slot1 fifo",
       }) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.status, 1) << arguments << ": " << run.err;
    EXPECT_THAT(run.err, ::testing::StartsWith("quorvel-cli: ")) << arguments;
  }
  EXPECT_THAT(Cli("disasm fifo").err, HasSubstr("not a regular file"));
  EXPECT_EQ(ReadFile(dir_ / "card.dcm"), card);
  EXPECT_EQ(ReadFile(dir_ / "vu" / "slot1.dcm"), slot);
}

TEST_F(CliInputFiles, DisasmStreamsItsListing) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer reserves more address space than the limit allows";
#else
  // 2 MiB of one-byte instructions list as about 60 MiB of text; the run may use 48 MiB of
  // address space beyond what a tiny listing needs, so it only passes when it does not keep
  // the listing.
  const std::size_t size = 2u << 20;
  testing::WriteFile(dir_ / "code.bin", std::vector<std::uint8_t>(size, 0x00));
  testing::WriteFile(dir_ / "tiny.bin", std::vector<std::uint8_t>(1, 0x00));
  int limit_kib = 0;
  for (limit_kib = 16384; limit_kib < (1 << 22); limit_kib += limit_kib / 4) {
    if (Cli("disasm tiny.bin", "ulimit -v " + std::to_string(limit_kib) + " && ").status == 0) {
      break;
    }
  }
  const std::string before = "ulimit -v " + std::to_string(limit_kib + 48 * 1024) + " && ";
  const CliRun run = Cli("disasm code.bin", before);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(static_cast<std::size_t>(std::count(run.out.begin(), run.out.end(), '\n')), size);
#endif
}

}  // namespace
}  // namespace quorvel
