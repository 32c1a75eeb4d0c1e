// quorvel-cli disasm: the listing of a code file, end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace quorvel {
namespace {

using testing::RunCli;

class DisasmCommand : public ::testing::Test {
 protected:
  testing::TempDir dir_;
};

TEST_F(DisasmCommand, PrintsOneLinePerInstructionExactly) {
  const std::filesystem::path code = dir_.path() / "code.bin";
  {
    std::ofstream out(code, std::ios::binary);
    const unsigned char bytes[] = {0x23, 0x00, 0x12, 0x50, 0x01, 0xFE, 0x31, 0x12};
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  }
  const testing::CliRun run = RunCli(dir_.path(), "disasm code.bin");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "$0000 23 00 12    MOV     #12H,ACC\n"
            "$0003 50          ...     \n"
            "$0004 01 FE       BR      $0004\n"
            "$0006 31 12       BE      #12H,\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(DisasmCommand, MissingFileFailsWithOneLine) {
  const testing::CliRun run = RunCli(dir_.path(), "disasm absent.bin");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  const std::string& error = run.err;
  EXPECT_NE(error.find("absent.bin"), std::string::npos);
  EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
}

TEST_F(DisasmCommand, WithoutFileIsBadUsage) {
  EXPECT_EQ(RunCli(dir_.path(), "disasm").status, 2);
  EXPECT_EQ(RunCli(dir_.path(), "disasm a b").status, 2);
}

}  // namespace
}  // namespace quorvel
