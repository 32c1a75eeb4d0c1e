// POSIX implementation of FileHandle and TempFile.
#include "hexedit/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "hexedit/private_folder.h"

namespace quorvel {
namespace {

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// A starting value for working-file names that differs between runs and processes, in the
// spirit of the system tick count.
std::uint32_t TickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
             std::chrono::duration_cast<std::chrono::microseconds>(now).count()) ^
         (static_cast<std::uint32_t>(::getpid()) << 12);
}

}  // namespace

FileHandle::~FileHandle() { Close(); }

FileHandle::FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileHandle FileHandle::CreateExclusive(const std::filesystem::path& path) {
  return FileHandle(OpenRetrying(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
}

FileHandle FileHandle::OpenForReading(const std::filesystem::path& path) {
  return FileHandle(OpenRetrying(path.c_str(), O_RDONLY));
}

bool FileHandle::CanOpenForWriting(const std::filesystem::path& path) {
  const int fd = OpenRetrying(path.c_str(), O_WRONLY);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

void FileHandle::Close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

std::int64_t FileHandle::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return -1;
  return static_cast<std::int64_t>(info.st_size);
}

bool FileHandle::ReadAt(std::int64_t position, std::span<std::uint8_t> bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                              static_cast<off_t>(position + static_cast<std::int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool FileHandle::WriteAt(std::int64_t position, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                               static_cast<off_t>(position + static_cast<std::int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::int64_t FileHandle::CopyInKernel(const FileHandle& source, std::int64_t source_position,
                                      std::int64_t position, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count) {
    auto in = static_cast<off_t>(source_position + done);
    auto out = static_cast<off_t>(position + done);
    const ssize_t n =
        ::copy_file_range(source.fd_, &in, fd_, &out, static_cast<std::size_t>(count - done), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

bool FileHandle::Resize(std::int64_t size) {
  return fd_ >= 0 && ::ftruncate(fd_, static_cast<off_t>(size)) == 0;
}

bool FileHandle::Sync() { return fd_ >= 0 && ::fsync(fd_) == 0; }

std::string EightHexDigits(std::uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

TempFile::TempFile(std::string_view extension) : TempFile(extension, TickCount()) {}

TempFile::TempFile(std::string_view extension, std::uint32_t first_name) {
  std::string error;
  const std::filesystem::path dir = RunFolder(PrivateFolderPath(), error);
  if (dir.empty()) return;
  std::uint32_t tick = first_name;
  // A name that exists (or appears between our look and our create) is simply skipped.
  for (int attempt = 0; attempt < 1000; ++attempt, tick += 0x9E3779B9u) {
    std::filesystem::path candidate = dir / (EightHexDigits(tick) + std::string(extension));
    file_ = FileHandle::CreateExclusive(candidate);
    if (file_.IsOpen()) {
      path_ = std::move(candidate);
      return;
    }
    if (errno != EEXIST && errno != ELOOP) return;
  }
}

TempFile::~TempFile() {
  file_.Close();
  if (!path_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
}

}  // namespace quorvel
