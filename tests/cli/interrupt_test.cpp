// Ctrl+C sent to quorvel-cli as a real signal while it restores a card on the virtual unit:
// the restore stops after a whole block, the card is put back as it was, a second Ctrl+C
// does not cut that short, and the exit status says the command was cancelled.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "card/card_fixture.h"
#include "support/card_files.h"

#ifdef QUORVEL_CLI_PATH

namespace quorvel {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using namespace std::chrono_literals;

// Starts quorvel-cli with `arguments` in `dir`, its output going to files there.
pid_t StartCli(const std::filesystem::path& dir, const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {QUORVEL_CLI_PATH};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // As a program started from a terminal: a test run in the background of a script has
    // SIGINT ignored, which the program would keep.
    ::signal(SIGINT, SIG_DFL);
    if (::chdir(dir.c_str()) != 0) ::_exit(126);
    const int out = ::open(".cli-stdout", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(".cli-stderr", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// The child's exit status, or -1 when it did not end by itself within the limit (it is then
// killed) or was ended by a signal.
int WaitFor(pid_t pid, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int raw = 0;
  while (::waitpid(pid, &raw, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &raw, 0);
      return -1;
    }
    std::this_thread::sleep_for(10ms);
  }
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(CliInterrupt, CtrlCDuringARestorePutsTheCardBackAndExitsWith130) {
  testing::TempDir dir;
  // Link delays small enough for a quick test, large enough that the restore runs for a while.
  dir.Write("DID2.cfg", "888\r\n8\r\n144\r\n216\r\n9216\r\n0\r\n1\r\n");
  std::filesystem::create_directory(dir / "vu");
  test::CardBuilder old_card;
  old_card.AddSave(0, "OLD", {199, 198});
  old_card.WriteTo(dir / "vu" / "slot1.dcm");
  test::CardBuilder new_card;
  new_card.AddSave(0, "NEW", {199, 198, 197});
  new_card.Logical(0)[0] = 0x5A;  // block 0, the first the restore writes, differs
  new_card.WriteTo(dir / "in.dcm");
  const std::vector<std::uint8_t> before = ReadFile(dir / "vu" / "slot1.dcm");

  const pid_t pid = StartCli(dir.path(), {"--virtual-unit", "vu", "restore", "slot1", "in.dcm"});
  ASSERT_GT(pid, 0);
  // Ctrl+C once the first block is on the card, and again a moment later.
  const auto give_up = std::chrono::steady_clock::now() + 120s;
  while (ReadFile(dir / "vu" / "slot1.dcm") == before &&
         std::chrono::steady_clock::now() < give_up && ::waitpid(pid, nullptr, WNOHANG) == 0) {
    std::this_thread::sleep_for(2ms);
  }
  ::kill(pid, SIGINT);
  std::this_thread::sleep_for(50ms);
  ::kill(pid, SIGINT);
  const int status = WaitFor(pid, 300s);
  const std::string err = dir.Read(".cli-stderr");

  EXPECT_EQ(status, 130) << err;
  EXPECT_THAT(err, HasSubstr("quorvel-cli: cancelled: the card was put back as it was"));
  EXPECT_THAT(err, HasSubstr("still stopping"));
  EXPECT_TRUE(ReadFile(dir / "vu" / "slot1.dcm") == before) << "the card is not as it was";
}

}  // namespace
}  // namespace quorvel

#endif  // QUORVEL_CLI_PATH
