// The remembered folders and recent card images: kept per kind, written to the working folder
// and read back, the recent list capped and without repeats, and a damaged file tolerated.
#include "app/file_history.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

TEST(FileHistory, EachKindKeepsItsFolderAcrossRuns) {
  testing::TempDir dir;
  fs::create_directories(dir.path() / "cards");
  fs::create_directories(dir.path() / "saves");
  {
    FileHistory history(dir.path());
    EXPECT_EQ(history.StartIn(FileKind::kSaveFile, "A.DCI"), fs::path("A.DCI"));
    history.Remember(FileKind::kCardImage, dir.path() / "cards" / "one.dcm");
    history.Remember(FileKind::kSaveFile, dir.path() / "saves" / "x.dci");
  }
  const FileHistory again(dir.path());
  EXPECT_EQ(again.StartIn(FileKind::kCardImage, "*.DCM"), dir.path() / "cards" / "*.DCM");
  EXPECT_EQ(again.StartIn(FileKind::kSaveFile, "A.DCI"), dir.path() / "saves" / "A.DCI");
  EXPECT_EQ(again.Folder(FileKind::kBitmap), fs::path());
  // A folder that has gone since is not proposed.
  fs::remove(dir.path() / "saves");
  EXPECT_EQ(again.StartIn(FileKind::kSaveFile, "A.DCI"), fs::path("A.DCI"));
}

TEST(FileHistory, RecentImagesLatestFirstOnceEachAtMostEight) {
  testing::TempDir dir;
  FileHistory history(dir.path());
  for (int i = 0; i < 10; ++i) history.AddRecentImage(dir.path() / ("c" + std::to_string(i)));
  history.AddRecentImage(dir.path() / "c5");
  std::vector<fs::path> expected = {dir.path() / "c5"};
  for (int i : {9, 8, 7, 6, 4, 3, 2}) expected.push_back(dir.path() / ("c" + std::to_string(i)));
  EXPECT_EQ(history.RecentImages(), expected);
  EXPECT_EQ(FileHistory(dir.path()).RecentImages(), expected);
  // A relative name is kept as the absolute path it names now.
  FileHistory memory;
  memory.AddRecentImage("rel.dcm");
  EXPECT_EQ(memory.RecentImages(), std::vector<fs::path>{fs::absolute("rel.dcm")});
}

TEST(FileHistory, ReadingSkipsWhatItDoesNotKnow) {
  const FileHistory history = FileHistory::FromContent(
      "folder image /cards\r\n"
      "folder sound /music\n"  // a kind this program does not know
      "folder save relative/path\n"
      "recent /cards/a.dcm\n"
      "recent /cards/a.dcm\n"
      "recent b.dcm\n"
      "garbage\n"
      "recent /cards/c.dcm");
  EXPECT_EQ(history.Content(), "folder image /cards\nrecent /cards/a.dcm\nrecent /cards/c.dcm\n");
}

TEST(FileHistory, APathThatALineCannotHoldIsNotStored) {
  testing::TempDir dir;
  FileHistory history(dir.path());
  history.AddRecentImage(dir.path() / "two\nlines.dcm");
  history.Remember(FileKind::kCode, dir.path() / "bad\nfolder" / "x.bin");
  EXPECT_TRUE(history.RecentImages().empty());
  EXPECT_EQ(history.Content(), "");
}

}  // namespace
}  // namespace quorvel
