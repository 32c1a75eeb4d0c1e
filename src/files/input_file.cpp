// Opening regular files without blocking on FIFOs and devices.
#include "files/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel {

InputFile OpenRegularFile(const std::filesystem::path& path, bool for_writing) {
  InputFile result;
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer. The type is
  // checked on the opened descriptor itself, so the file cannot change in between.
  const int fd =
      ::open(path.c_str(), (for_writing ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    // A folder opened for writing fails with EISDIR; say the same as for any other non-file.
    result.error = errno == EISDIR ? kNotRegularFile : std::strerror(errno);
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    result.error = kNotRegularFile;
    ::close(fd);
    return result;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  result.file.reset(::fdopen(fd, for_writing ? "r+b" : "rb"));
  if (!result.file) {
    result.error = std::strerror(errno);
    ::close(fd);
  }
  return result;
}

}  // namespace quorvel
