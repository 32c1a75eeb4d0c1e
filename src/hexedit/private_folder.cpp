// POSIX implementation of the private folder, its run folders and their locks.
#include "hexedit/private_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <regex>
#include <vector>

#include "files/own_folder.h"

namespace quorvel {
namespace {

constexpr const char* kLockName = "lock";
constexpr const char* kRunPrefix = "run-";

bool Lock(int fd, int how) {
  int result;
  do {
    result = ::flock(fd, how);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Holds the private folder's own lock, which makes creating a run folder and removing dead
// ones exclusive between processes: a run folder is never seen without its lock.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder)
      : fd_(OpenNoFollow(folder / kLockName, O_RDWR | O_CREAT, 0600)) {
    if (fd_ >= 0 && !Lock(fd_, LOCK_EX)) Release();
  }
  ~FolderLock() { Release(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  void Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_;
};

bool IsWorkingCopyName(const std::string& name) {
  static const std::regex pattern("[0-9A-F]{8}\\.QZH[A-Z]");
  return std::regex_match(name, pattern);
}

std::vector<std::string> Entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

// Removes one run folder when its program is gone (its lock can be taken). The caller holds
// the private folder's lock.
bool RemoveIfDead(const std::filesystem::path& run) {
  struct stat info {};
  if (::lstat(run.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  const int lock = OpenNoFollow(run / kLockName, O_RDWR);
  if (lock >= 0 && !Lock(lock, LOCK_EX | LOCK_NB)) {
    ::close(lock);  // its program still runs
    return false;
  }
  for (const std::string& name : Entries(run)) {
    if (IsWorkingCopyName(name)) ::unlink((run / name).c_str());
  }
  ::unlink((run / kLockName).c_str());
  if (lock >= 0) ::close(lock);
  return ::rmdir(run.c_str()) == 0;
}

int RemoveDeadRuns(const std::filesystem::path& folder) {
  int removed = 0;
  for (const std::string& name : Entries(folder)) {
    if (name.rfind(kRunPrefix, 0) == 0 && RemoveIfDead(folder / name)) ++removed;
  }
  return removed;
}

// This process's run folder in one private folder: created once, locked until the process
// ends, removed at a normal end.
struct Run {
  std::filesystem::path folder;
  std::filesystem::path path;
  int lock = -1;
};

class Runs {
 public:
  ~Runs() {
    for (auto& [folder, run] : runs_) {
      FolderLock guard(folder);
      ::unlink((run.path / kLockName).c_str());
      ::rmdir(run.path.c_str());  // only when empty: a copy still open stays for next time
      ::close(run.lock);
    }
  }

  std::filesystem::path Get(const std::filesystem::path& folder, std::string& error) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (const auto it = runs_.find(folder); it != runs_.end()) return it->second.path;
    if (!EnsureOwnFolder(folder, error)) return {};
    FolderLock guard(folder);
    if (!guard.Held()) {
      error = (folder / kLockName).string() + ": " + std::strerror(errno);
      return {};
    }
    RemoveDeadRuns(folder);
    std::string pattern = (folder / (std::string(kRunPrefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      error = folder.string() + ": " + std::strerror(errno);
      return {};
    }
    Run run{
        folder, pattern,
        OpenNoFollow(std::filesystem::path(pattern) / kLockName, O_RDWR | O_CREAT | O_EXCL, 0600)};
    if (run.lock < 0 || !Lock(run.lock, LOCK_EX | LOCK_NB)) {
      error = run.path.string() + ": " + std::strerror(errno);
      if (run.lock >= 0) ::close(run.lock);
      ::unlink((run.path / kLockName).c_str());
      ::rmdir(run.path.c_str());
      return {};
    }
    runs_.emplace(folder, run);
    return run.path;
  }

 private:
  std::mutex mutex_;
  std::map<std::filesystem::path, Run> runs_;
};

}  // namespace

std::filesystem::path PrivateFolderPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  if (runtime != nullptr && runtime[0] == '/' && std::filesystem::is_directory(runtime, error)) {
    return std::filesystem::path(runtime) / "quorvel";
  }
  std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  if (error) temp = "/tmp";
  return temp / ("quorvel-" + std::to_string(::geteuid()));
}

std::filesystem::path RunFolder(const std::filesystem::path& private_folder, std::string& error) {
  static Runs runs;
  return runs.Get(private_folder, error);
}

int RemoveLeftoverRunFolders(const std::filesystem::path& private_folder) {
  struct stat info {};
  if (::lstat(private_folder.c_str(), &info) != 0) return 0;  // nothing left from before
  std::string error;
  if (!EnsureOwnFolder(private_folder, error)) return 0;
  FolderLock guard(private_folder);
  return guard.Held() ? RemoveDeadRuns(private_folder) : 0;
}

}  // namespace quorvel
