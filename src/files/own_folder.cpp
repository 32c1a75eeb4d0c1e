// POSIX checks of folders that only this user may use.
#include "files/own_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {

int OpenNoFollow(const std::filesystem::path& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool EnsureOwnFolder(const std::filesystem::path& folder, std::string& error) {
  std::error_code ignored;
  std::filesystem::create_directories(folder.parent_path(), ignored);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = folder.string() + ": " + std::strerror(errno);
    return false;
  }
  const int fd = OpenNoFollow(folder, O_RDONLY | O_DIRECTORY);
  if (fd < 0) {
    error = folder.string() + ": not a folder of its own (" + std::strerror(errno) + ")";
    return false;
  }
  struct stat info {};
  const bool stated = ::fstat(fd, &info) == 0;
  ::close(fd);
  if (!stated || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
    error = folder.string() + ": the folder belongs to someone else or others may enter it";
    return false;
  }
  return true;
}

}  // namespace quorvel
