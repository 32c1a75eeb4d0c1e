// The safe whole-file writer: a fresh sibling file, the content, the old file's permissions, a
// flush to the disk, and a rename over the name.
#include "files/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "files/file_lock.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// The name the new file finally takes: `path` itself, or the target of a link at `path` when
// links are written through. False (errno set) when a link's target cannot be worked out.
bool FinalName(const fs::path& path, LinkAtName link, fs::path& name) {
  name = path;
  std::error_code error;
  if (link == LinkAtName::kWriteThrough && fs::is_symlink(path, error)) {
    name = fs::weakly_canonical(path, error);
    if (error) {
      errno = error.value();
      return false;
    }
  }
  return true;
}

// Creates a file that did not exist beside `name` (O_EXCL with O_NOFOLLOW: no existing file and
// no planted link is ever opened); -1 with errno set when none could be created.
int CreateSibling(const fs::path& name, fs::path& sibling) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    sibling = name;
    sibling += ".tmp" + std::to_string(random() % 1000000);
    const int fd =
        ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Flushes the folder that holds `name`, so that the rename itself reaches the disk. A folder
// that cannot be flushed does not undo a file already in place.
void SyncFolder(const fs::path& name) {
  fs::path folder = name.parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ReplacingFile::ReplacingFile(const fs::path& path, SafeWriteOptions options)
    : options_(std::move(options)) {
  if (FinalName(path, options_.link, name_)) Open();
  if (fd_ < 0) failure_ = errno;
}

void ReplacingFile::Open() {
  struct stat old_file {};
  if (::lstat(name_.c_str(), &old_file) == 0) {
    if (S_ISDIR(old_file.st_mode)) {
      errno = EISDIR;
      return;
    }
    // Only a plain file hands on its permissions, never a link that is replaced.
    keep_mode_ = S_ISREG(old_file.st_mode);
    old_mode_ = old_file.st_mode & 07777;
    // A card file that a program holds open (this one too) is never written over.
    if (FileInUse(name_)) {
      errno = EBUSY;
      return;
    }
  }
  fd_ = CreateSibling(name_, sibling_);
}

ReplacingFile::~ReplacingFile() {
  const int saved = errno;
  Discard();
  errno = saved;
}

void ReplacingFile::Discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(sibling_.c_str());
  fd_ = -1;
}

bool ReplacingFile::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0 || failed_) return false;
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      failure_ = errno;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (fd_ < 0) {
    errno = failure_ != 0 ? failure_ : EBADF;
    return false;
  }
  int failure = failure_;
  bool ok = !failed_;
  // Permissions the file system cannot keep (some removable media) do not stop the write.
  if (ok && keep_mode_) ::fchmod(fd_, old_mode_);
  if (ok && (options_.sync_file ? options_.sync_file(fd_) : ::fsync(fd_)) != 0) {
    ok = false;
    failure = errno;
  }
  if (::close(fd_) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  fd_ = -1;
  if (ok && FileInUse(name_)) {  // a card opened at the name while the content was written
    ok = false;
    failure = EBUSY;
  }
  if (ok && ::rename(sibling_.c_str(), name_.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(sibling_.c_str());
    errno = failure;
    return false;
  }
  SyncFolder(name_);
  return true;
}

bool WriteFileSafely(const fs::path& path, const ContentWriter& content,
                     const SafeWriteOptions& options) {
  ReplacingFile file(path, options);
  if (!file.IsOpen()) return false;
  errno = 0;
  const WritePiece write = [&file](std::span<const std::uint8_t> piece) {
    return file.Write(piece);
  };
  if (!content(write)) {
    if (errno == 0) errno = EIO;
    return false;  // the sibling goes with `file`, errno stays
  }
  return file.Commit();
}

bool WriteFileSafely(const fs::path& path, std::span<const std::uint8_t> bytes,
                     const SafeWriteOptions& options) {
  return WriteFileSafely(
      path, [bytes](const WritePiece& write) { return bytes.empty() || write(bytes); }, options);
}

}  // namespace quorvel
