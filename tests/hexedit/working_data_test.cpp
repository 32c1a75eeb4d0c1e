// Tests of the working file: exclusive creation in the temporary directory, removal, and the
// length-changing operations checked against a plain byte vector.
#include "hexedit/working_data.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>

#include "hex_test_util.h"
#include "hexedit/private_folder.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::ReadFileBytes;
using testing_util::ScratchDir;
using testing_util::Sequence;

Bytes Contents(const WorkingData& data) {
  Bytes bytes(static_cast<std::size_t>(data.Size()));
  EXPECT_TRUE(data.Read(0, bytes));
  return bytes;
}

// Redirects the system's temporary directory to a scratch directory for one test, with no
// runtime folder, so the private folder is made inside the scratch directory.
class TempDirScope {
 public:
  explicit TempDirScope(const std::filesystem::path& dir)
      : tmpdir_(Take("TMPDIR")), runtime_(Take("XDG_RUNTIME_DIR")) {
    setenv("TMPDIR", dir.c_str(), 1);
  }
  ~TempDirScope() {
    Restore("TMPDIR", tmpdir_);
    Restore("XDG_RUNTIME_DIR", runtime_);
  }

 private:
  static std::optional<std::string> Take(const char* name) {
    std::optional<std::string> old;
    if (const char* value = std::getenv(name)) old = value;
    unsetenv(name);
    return old;
  }
  static void Restore(const char* name, const std::optional<std::string>& old) {
    if (old) {
      setenv(name, old->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

  std::optional<std::string> tmpdir_;
  std::optional<std::string> runtime_;
};

TEST(WorkingFileTest, IsCreatedInThePrivateFolderWithEightHexDigitsAndRemovedAtTheEnd) {
  ScratchDir dir;
  TempDirScope scope(dir.Path());
  const std::filesystem::path private_folder = dir / ("quorvel-" + std::to_string(::geteuid()));
  EXPECT_EQ(PrivateFolderPath(), private_folder);
  std::filesystem::path path;
  {
    WorkingData data;
    ASSERT_TRUE(data.IsOpen());
    path = data.Path();
    // In this run's own folder inside the private folder, which only its owner may enter.
    EXPECT_EQ(path.parent_path().parent_path(), private_folder);
    EXPECT_EQ(std::filesystem::status(private_folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_TRUE(std::regex_match(path.filename().string(), std::regex("[0-9A-F]{8}\\.QZHT")))
        << path;
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(data.Size(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(WorkingFileTest, NeverUsesAPlantedFileOrLink) {
  ScratchDir scratch;
  TempDirScope scope(scratch.Path());
  const auto victim = scratch.Write("victim", {1, 2, 3});
  std::string error;
  const std::filesystem::path run = RunFolder(PrivateFolderPath(), error);
  ASSERT_FALSE(run.empty()) << error;
  std::filesystem::create_symlink(victim, run / "0000ABCD.QZHT");
  std::ofstream(run / "0000ABCE.QZHT", std::ios::binary).put(4);
  const auto dir = [&](const char* name) { return run / name; };
  EXPECT_FALSE(FileHandle::CreateExclusive(dir("0000ABCD.QZHT")).IsOpen());
  {
    TempFile file(".QZHT", 0xABCD);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_NE(file.Path().filename(), "0000ABCD.QZHT");
    EXPECT_NE(file.Path().filename(), "0000ABCE.QZHT");
    ASSERT_TRUE(file.File().WriteAt(0, Bytes{9, 9}));
  }
  EXPECT_EQ(ReadFileBytes(victim), (Bytes{1, 2, 3}));
  EXPECT_EQ(ReadFileBytes(dir("0000ABCE.QZHT")), (Bytes{4}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir("0000ABCD.QZHT")));
}

TEST(WorkingDataTest, InsertRemoveReplaceAcrossManyPiecesMatchAVector) {
  WorkingData data;
  Bytes model = Sequence(700000, 7);  // several copy pieces
  ASSERT_TRUE(data.Insert(0, MemorySource(model)));
  const Bytes block = Sequence(300000, 100);

  ASSERT_TRUE(data.Insert(12345, MemorySource(block)));
  model.insert(model.begin() + 12345, block.begin(), block.end());
  EXPECT_EQ(Contents(data), model);

  ASSERT_TRUE(data.Remove(5, 400000));
  model.erase(model.begin() + 5, model.begin() + 400005);
  EXPECT_EQ(Contents(data), model);

  ASSERT_TRUE(data.Replace(1000, 10, MemorySource(block)));
  model.erase(model.begin() + 1000, model.begin() + 1010);
  model.insert(model.begin() + 1000, block.begin(), block.end());
  EXPECT_EQ(Contents(data), model);

  ASSERT_TRUE(data.Replace(20, 290000, MemorySource(Bytes{1, 2})));
  model.erase(model.begin() + 20, model.begin() + 290020);
  model.insert(model.begin() + 20, {1, 2});
  EXPECT_EQ(Contents(data), model);
  EXPECT_EQ(data.File().Size(), data.Size());
}

TEST(WorkingDataTest, RefusesRangesOutsideTheData) {
  WorkingData data;
  ASSERT_TRUE(data.Insert(0, MemorySource(Bytes{1, 2, 3})));
  Bytes two(2);
  EXPECT_FALSE(data.Read(2, two));
  EXPECT_FALSE(data.Read(-1, two));
  EXPECT_FALSE(data.Insert(4, MemorySource(Bytes{1})));
  EXPECT_FALSE(data.Remove(2, 2));
  EXPECT_FALSE(data.Write(3, Bytes{1}));
  EXPECT_FALSE(data.DeleteNibble(6));
  EXPECT_FALSE(data.InsertNibble(7));
  EXPECT_EQ(Contents(data), (Bytes{1, 2, 3}));
}

TEST(WorkingDataTest, NibbleInsertAndDeleteShiftTheRestByFourBits) {
  WorkingData data;
  ASSERT_TRUE(data.Insert(0, MemorySource(Bytes{0x12, 0x34, 0x56})));
  ASSERT_TRUE(data.InsertNibble(2));  // before the 3
  EXPECT_EQ(Contents(data), (Bytes{0x12, 0x03, 0x45, 0x60}));
  ASSERT_TRUE(data.DeleteNibble(2));
  EXPECT_EQ(Contents(data), (Bytes{0x12, 0x34, 0x56}));
  ASSERT_TRUE(data.InsertNibble(3));  // before the 4
  EXPECT_EQ(Contents(data), (Bytes{0x12, 0x30, 0x45, 0x60}));
  ASSERT_TRUE(data.DeleteNibble(3));
  ASSERT_TRUE(data.DeleteNibble(0));  // the 1 goes, the last nibble falls off
  EXPECT_EQ(Contents(data), (Bytes{0x23, 0x45}));
  ASSERT_TRUE(data.DeleteNibble(3));
  EXPECT_EQ(Contents(data), (Bytes{0x23}));
  ASSERT_TRUE(data.InsertNibble(2));  // at the very end: one zero byte
  EXPECT_EQ(Contents(data), (Bytes{0x23, 0x00}));
  ASSERT_TRUE(data.DeleteNibble(0));
  ASSERT_TRUE(data.DeleteNibble(0));
  EXPECT_EQ(data.Size(), 0);
}

TEST(WorkingDataTest, NibbleShiftOfLargeDataMatchesANibbleModel) {
  WorkingData data;
  const Bytes bytes = Sequence(600001, 3);
  ASSERT_TRUE(data.Insert(0, MemorySource(bytes)));
  ASSERT_TRUE(data.InsertNibble(1001));
  const Bytes shifted = Contents(data);
  ASSERT_EQ(shifted.size(), bytes.size() + 1);
  auto nibble = [](const Bytes& b, std::size_t i) { return i % 2 ? b[i / 2] & 15 : b[i / 2] >> 4; };
  EXPECT_EQ(nibble(shifted, 1001), 0);
  for (std::size_t i = 0; i < 2 * bytes.size(); ++i) {
    ASSERT_EQ(nibble(shifted, i < 1001 ? i : i + 1), nibble(bytes, i)) << i;
  }
  EXPECT_EQ(nibble(shifted, 2 * bytes.size() + 1), 0);
}

TEST(WorkingDataTest, SavingOverALinkWritesItsTarget) {
  ScratchDir dir;
  const auto target = dir.Write("target.bin", {1});
  std::filesystem::create_symlink(target, dir / "link.bin");
  WorkingData data;
  ASSERT_TRUE(data.Insert(0, MemorySource(Bytes{7, 8})));
  ASSERT_TRUE(data.SaveFile(dir / "link.bin"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.bin"));
  EXPECT_EQ(ReadFileBytes(target), (Bytes{7, 8}));
}

TEST(WorkingDataTest, LoadAndSaveCopyWholeFiles) {
  ScratchDir dir;
  const Bytes bytes = Sequence(1000);
  WorkingData data;
  ASSERT_TRUE(data.LoadFile(dir.Write("in.bin", bytes)));
  EXPECT_EQ(Contents(data), bytes);
  ASSERT_TRUE(data.SaveFile(dir / "out.bin"));
  EXPECT_EQ(ReadFileBytes(dir / "out.bin"), bytes);
  EXPECT_FALSE(data.LoadFile(dir / "missing.bin"));
  EXPECT_FALSE(data.SaveFile(dir / "no_such_dir" / "out.bin"));
  EXPECT_FALSE(data.SaveFile(dir.Path()));  // a directory is not replaced
  // Only the saved file is left, no sibling from the atomic write.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    ++files;
  EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace quorvel
