// Tests of the desktop program's working folder: the current directory by default, the folder
// of --work-dir, and the user's data folder of --user-work-dir, created on first use.
#include "app/work_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/config.h"
#include "support/temp_dir.h"

namespace quorvel {
namespace {

// Sets (or, with nullptr, removes) an environment variable for one test.
class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvScope() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(WorkDirTest, UserDataFolderFollowsXdgDataHome) {
  {
    EnvScope data_home("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(UserDataFolder(), std::filesystem::path("/data/home/quorvel"));
  }
  // Unset, empty or relative: ~/.local/share, as the base directory rules say.
  EnvScope home("HOME", "/home/someone");
  for (const char* value : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
    EnvScope data_home("XDG_DATA_HOME", value);
    EXPECT_EQ(UserDataFolder(), std::filesystem::path("/home/someone/.local/share/quorvel"));
  }
}

TEST(WorkDirTest, TheChosenFolderIsCreatedOnFirstUse) {
  testing::TempDir dir;
  std::string error;
  EXPECT_EQ(PrepareWorkDir({}, error), CaptureWorkDir());

  EnvScope data_home("XDG_DATA_HOME", (dir / "share").c_str());
  WorkDirOptions user;
  user.user = true;
  EXPECT_EQ(PrepareWorkDir(user, error), (dir / "share" / "quorvel").string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "share" / "quorvel"));

  WorkDirOptions named;
  named.dir = (dir / "a" / "b").string() + "/";
  EXPECT_EQ(PrepareWorkDir(named, error), (dir / "a" / "b").string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "a" / "b"));

  // A file where the folder should be: refused with the folder's name.
  std::ofstream(dir / "file") << "x";
  named.dir = (dir / "file").string();
  error.clear();
  EXPECT_FALSE(PrepareWorkDir(named, error));
  EXPECT_NE(error.find((dir / "file").string()), std::string::npos) << error;
}

}  // namespace
}  // namespace quorvel
