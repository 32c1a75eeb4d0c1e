// quorvel-cli disasm: the listing of a code file, end to end.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

// Runs quorvel-cli with `arguments`; stderr goes to `error_file`.
CliRun RunCli(const std::string& arguments, const std::filesystem::path& error_file) {
  std::string command =
      std::string(QUORVEL_CLI_PATH) + " " + arguments + " 2>" + error_file.string();
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> chunk;
  std::size_t got;
  while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
    run.out.append(chunk.data(), got);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DisasmCommand : public ::testing::Test {
 protected:
  // One folder per test and process: CTest runs the tests of this fixture side by side.
  std::filesystem::path dir_ =
      std::filesystem::path(::testing::TempDir()) /
      ("quorvel-disasm-cli-" +
       std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
       std::to_string(getpid()));
  std::filesystem::path errors_ = dir_ / "stderr.txt";
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
};

TEST_F(DisasmCommand, PrintsOneLinePerInstructionExactly) {
  const std::filesystem::path code = dir_ / "code.bin";
  {
    std::ofstream out(code, std::ios::binary);
    const unsigned char bytes[] = {0x23, 0x00, 0x12, 0x50, 0x01, 0xFE, 0x31, 0x12};
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  }
  CliRun run = RunCli("disasm " + code.string(), errors_);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "$0000 23 00 12    MOV     #12H,ACC\n"
            "$0003 50          ...     \n"
            "$0004 01 FE       BR      $0004\n"
            "$0006 31 12       BE      #12H,\n");
  EXPECT_EQ(ReadText(errors_), "");
}

TEST_F(DisasmCommand, MissingFileFailsWithOneLine) {
  CliRun run = RunCli("disasm " + (dir_ / "absent.bin").string(), errors_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  std::string error = ReadText(errors_);
  EXPECT_NE(error.find("absent.bin"), std::string::npos);
  EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
}

TEST_F(DisasmCommand, WithoutFileIsBadUsage) {
  EXPECT_EQ(RunCli("disasm", errors_).status, 2);
  EXPECT_EQ(RunCli("disasm a b", errors_).status, 2);
}

}  // namespace
