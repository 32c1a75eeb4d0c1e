// A fresh directory of its own under the system's temporary directory for one test, removed
// afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace quorvel::testing {

class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "quorvel-";
    if (info != nullptr) name += std::string(info->test_suite_name()) + "-" + info->name();
    name += "-" + std::to_string(::getpid());  // parallel runs of the same test must not meet
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    // Another build of the same tests may run at the same time on this machine.
    name += "-" + std::to_string(std::random_device{}());
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // The directory as text, ending in '/'.
  std::string Dir() const { return path_.string() + "/"; }

  // Writes `bytes` to `relative` (creating folders) and returns its full path.
  std::filesystem::path Write(const std::string& relative, std::string_view bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  // The whole content of `relative`, or "<missing>".
  std::string Read(const std::string& relative) const {
    std::ifstream file(path_ / relative, std::ios::binary);
    if (!file) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

 private:
  std::filesystem::path path_;
};

}  // namespace quorvel::testing
