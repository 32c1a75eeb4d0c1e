// Advisory card-file locks with flock(2): locks belong to the open file, so a second open of
// the same file conflicts even inside one program.
#include "files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quorvel {

bool LockOpenFile(int fd, LockKind kind) {
  const int operation = (kind == LockKind::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  int result = 0;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result == 0 || errno != EWOULDBLOCK;
}

bool FileInUse(const std::filesystem::path& path) {
  // Non-blocking, so that a FIFO at the name is not waited on; only a plain file is a card.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat status {};
  const bool in_use = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                      !LockOpenFile(fd, LockKind::kExclusive);
  ::close(fd);  // also gives up the lock this test may have taken
  return in_use;
}

}  // namespace quorvel
