// Tests of the safe whole-file writer: replacement only when complete, the flush before the
// rename, permissions, links, and failures that leave the old file.
#include "files/safe_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using quorvel::testing::TempDir;

const Bytes kOld = {1, 2, 3};
const Bytes kNew = {9, 8, 7, 6};

void Put(const fs::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

Bytes Get(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::size_t Entries(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

fs::perms Mode(const fs::path& path) { return fs::status(path).permissions(); }

TEST(WriteFileSafelyTest, WritesTheContentInPiecesAndLeavesNoSibling) {
  TempDir dir;
  ASSERT_TRUE(WriteFileSafely(dir.path() / "f", kOld));
  EXPECT_EQ(Get(dir.path() / "f"), kOld);
  const ContentWriter pieces = [](const WritePiece& write) {
    return write(std::span(kNew).first(1)) && write(std::span(kNew).subspan(1));
  };
  ASSERT_TRUE(WriteFileSafely(dir.path() / "f", pieces));
  EXPECT_EQ(Get(dir.path() / "f"), kNew);
  ASSERT_TRUE(WriteFileSafely(dir.path() / "f", Bytes{}));
  EXPECT_TRUE(Get(dir.path() / "f").empty());
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(WriteFileSafelyTest, TheFileIsFlushedBeforeItReplacesTheOldOne) {
  TempDir dir;
  const fs::path path = dir.path() / "f";
  Put(path, kOld);
  SafeWriteOptions options;
  int flushes = 0;
  options.sync_file = [&](int fd) {
    ++flushes;
    EXPECT_EQ(Get(path), kOld);  // not renamed yet
    struct stat info {};
    EXPECT_EQ(::fstat(fd, &info), 0);
    EXPECT_EQ(info.st_size, static_cast<off_t>(kNew.size()));  // the whole content is in it
    return 0;
  };
  ASSERT_TRUE(WriteFileSafely(path, kNew, options));
  EXPECT_EQ(flushes, 1);
  EXPECT_EQ(Get(path), kNew);
}

TEST(WriteFileSafelyTest, AFailedFlushOrContentLeavesTheOldFileAndSaysWhy) {
  TempDir dir;
  const fs::path path = dir.path() / "f";
  Put(path, kOld);
  SafeWriteOptions options;
  options.sync_file = [](int) {
    errno = EIO;
    return -1;
  };
  EXPECT_FALSE(WriteFileSafely(path, kNew, options));
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(Get(path), kOld);
  EXPECT_EQ(Entries(dir.path()), 1u);

  const ContentWriter half = [](const WritePiece& write) {
    return write(std::span(kNew).first(2)) && false;  // the rest could not be read
  };
  EXPECT_FALSE(WriteFileSafely(path, half));
  EXPECT_EQ(Get(path), kOld);
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(WriteFileSafelyTest, AnOldFileKeepsItsPermissionsAndANewOneFollowsTheUmask) {
  TempDir dir;
  const fs::path path = dir.path() / "f";
  Put(path, kOld);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteFileSafely(path, kNew));
  EXPECT_EQ(Mode(path), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const mode_t old_mask = ::umask(027);
  const bool written = WriteFileSafely(dir.path() / "new", kNew);
  ::umask(old_mask);
  ASSERT_TRUE(written);
  EXPECT_EQ(Mode(dir.path() / "new"),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WriteFileSafelyTest, APlantedLinkIsReplacedAndItsTargetLeftAlone) {
  TempDir dir;
  Put(dir.path() / "victim", kOld);
  fs::permissions(dir.path() / "victim", fs::perms::owner_all);
  fs::create_symlink(dir.path() / "victim", dir.path() / "work");
  fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling");
  ASSERT_TRUE(WriteFileSafely(dir.path() / "work", kNew));
  ASSERT_TRUE(WriteFileSafely(dir.path() / "dangling", kNew));
  EXPECT_FALSE(fs::is_symlink(dir.path() / "work"));
  EXPECT_EQ(Get(dir.path() / "work"), kNew);
  EXPECT_NE(Mode(dir.path() / "work"), fs::perms::owner_all);  // nothing taken from the target
  EXPECT_EQ(Get(dir.path() / "victim"), kOld);
  EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
}

TEST(WriteFileSafelyTest, WritingThroughALinkChangesItsTargetAndKeepsTheLink) {
  TempDir dir;
  Put(dir.path() / "target", kOld);
  fs::create_symlink(dir.path() / "target", dir.path() / "link");
  SafeWriteOptions options;
  options.link = LinkAtName::kWriteThrough;
  ASSERT_TRUE(WriteFileSafely(dir.path() / "link", kNew, options));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link"));
  EXPECT_EQ(Get(dir.path() / "target"), kNew);
  EXPECT_EQ(Entries(dir.path()), 2u);
}

TEST(WriteFileSafelyTest, AFolderOrADirectoryInTheWayFailsWithoutTouchingIt) {
  TempDir dir;
  EXPECT_FALSE(WriteFileSafely(dir.path() / "missing" / "f", kNew));
  EXPECT_EQ(errno, ENOENT);
  fs::create_directory(dir.path() / "sub");
  Put(dir.path() / "sub" / "inside", kOld);
  EXPECT_FALSE(WriteFileSafely(dir.path() / "sub", kNew));
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(Get(dir.path() / "sub" / "inside"), kOld);
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(WriteFileSafelyTest, AReadOnlyFolderFailsWithPermissionDeniedAndKeepsTheOldFile) {
  TempDir dir;
  const fs::path folder = dir.path() / "read-only";
  fs::create_directory(folder);
  Put(folder / "f", kOld);
  fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  fs::permissions(dir.path(), fs::perms::all);
  EXPECT_EQ(quorvel::testing::RunUnprivileged(
                [&] { return !WriteFileSafely(folder / "f", kNew) && errno == EACCES ? 0 : 1; }),
            0);
  EXPECT_EQ(Get(folder / "f"), kOld);
  EXPECT_EQ(Entries(folder), 1u);
  fs::permissions(folder, fs::perms::owner_all);
}

}  // namespace
}  // namespace quorvel
