// Tests of the private folder of the working copies: a folder only its owner may enter, never
// reached through a planted link, and the leftovers of killed runs removed at the next start
// while the copies of runs that still go on stay.
#include "hexedit/private_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "hex_test_util.h"
#include "hexedit/file_handle.h"

namespace quorvel {
namespace {

using testing_util::ScratchDir;

// A run of another process in `folder`: it makes its run folder and one working copy, tells
// the test where they are, then either dies at once without cleaning up (as when killed) or
// keeps running until the test closes `hold`.
struct OtherRun {
  pid_t pid = -1;
  std::filesystem::path copy;
  int hold = -1;  // write end: closing it ends a run that keeps running
};

OtherRun StartOtherRun(const std::filesystem::path& folder, bool dies) {
  int report[2];
  int hold[2];
  EXPECT_EQ(::pipe(report), 0);
  EXPECT_EQ(::pipe(hold), 0);
  OtherRun run;
  run.pid = ::fork();
  if (run.pid == 0) {
    ::close(report[0]);
    ::close(hold[1]);
    std::string error;
    const std::filesystem::path dir = RunFolder(folder, error);
    FileHandle file = FileHandle::CreateExclusive(dir / "0001F00D.QZHT");
    const std::string path = file.IsOpen() ? (dir / "0001F00D.QZHT").string() : "";
    (void)!::write(report[1], path.data(), path.size());
    ::close(report[1]);
    char byte;
    if (!dies) (void)!::read(hold[0], &byte, 1);
    ::_exit(0);  // no destructors: whatever the run made stays behind
  }
  ::close(report[1]);
  ::close(hold[0]);
  char text[4096];
  const ssize_t length = ::read(report[0], text, sizeof text);
  ::close(report[0]);
  run.copy = std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
  run.hold = hold[1];
  if (dies) {
    ::close(run.hold);
    ::waitpid(run.pid, nullptr, 0);
  }
  return run;
}

TEST(PrivateFolderTest, LeftoversOfKilledRunsGoAndRunsThatGoOnStay) {
  ScratchDir scratch;
  const std::filesystem::path folder = scratch / "private";
  const OtherRun running = StartOtherRun(folder, false);
  const OtherRun killed = StartOtherRun(folder, true);
  ASSERT_FALSE(running.copy.empty());
  ASSERT_FALSE(killed.copy.empty());
  // A dead run's folder that also holds a file that is not one of our working copies.
  const std::filesystem::path foreign = folder / "run-foreign";
  std::filesystem::create_directory(foreign);
  std::ofstream(foreign / "lock").put('\n');
  std::ofstream(foreign / "0000BEEF.QZHT").put('\n');
  std::ofstream(foreign / "notes.txt") << "kept";

  EXPECT_EQ(RemoveLeftoverRunFolders(folder), 1);
  EXPECT_FALSE(std::filesystem::exists(killed.copy.parent_path()));
  EXPECT_FALSE(std::filesystem::exists(foreign / "0000BEEF.QZHT"));
  EXPECT_TRUE(std::filesystem::exists(foreign / "notes.txt"));
  EXPECT_TRUE(std::filesystem::exists(running.copy));

  // This process's own run is alive too, and a new run removes what died before it.
  std::string error;
  const std::filesystem::path own = RunFolder(folder, error);
  ASSERT_FALSE(own.empty()) << error;
  ::close(running.hold);
  ::waitpid(running.pid, nullptr, 0);
  EXPECT_EQ(RemoveLeftoverRunFolders(folder), 1);
  EXPECT_FALSE(std::filesystem::exists(running.copy.parent_path()));
  EXPECT_TRUE(std::filesystem::is_directory(own));
}

TEST(PrivateFolderTest, APlantedLinkOrAnOpenFolderIsNeverUsed) {
  ScratchDir scratch;
  const std::filesystem::path elsewhere = scratch / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  std::filesystem::create_directory_symlink(elsewhere, scratch / "linked");
  std::string error;
  EXPECT_TRUE(RunFolder(scratch / "linked", error).empty());
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));

  // A folder that others may enter (made by someone before us) is refused too.
  const std::filesystem::path open = scratch / "open";
  std::filesystem::create_directories(open);
  std::filesystem::permissions(
      open, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                std::filesystem::perms::others_exec);
  error.clear();
  EXPECT_TRUE(RunFolder(open, error).empty());
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(RemoveLeftoverRunFolders(open), 0);
  EXPECT_TRUE(std::filesystem::is_empty(open));

  // A missing folder is made with mode 0700.
  const std::filesystem::path fresh = scratch / "fresh" / "quorvel";
  ASSERT_FALSE(RunFolder(fresh, error).empty()) << error;
  EXPECT_EQ(std::filesystem::status(fresh).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace quorvel
