// Loading, locking, writing and watching the image files behind virtual cards.
#include "virtualunit/card_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "files/file_lock.h"

namespace quorvel {
namespace {

bool SizeAllowed(std::uintmax_t size, std::span<const std::size_t> allowed_pages) {
  return size % kVirtualPageSize == 0 && std::find(allowed_pages.begin(), allowed_pages.end(),
                                                   size / kVirtualPageSize) != allowed_pages.end();
}

std::string SizeError(const std::filesystem::path& path, std::uintmax_t size,
                      std::span<const std::size_t> allowed_pages) {
  std::string error = path.string() + ": " + std::to_string(size) + " bytes, expected ";
  for (std::size_t i = 0; i < allowed_pages.size(); ++i) {
    if (i > 0) error += i + 1 == allowed_pages.size() ? " or " : ", ";
    error += std::to_string(allowed_pages[i] * kVirtualPageSize);
  }
  return error;
}

bool ReadWhole(int fd, std::span<std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got =
        ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

std::optional<CardFile> CardFile::Load(const std::filesystem::path& path,
                                       std::span<const std::size_t> allowed_pages,
                                       std::string& error, CardFileAccess access, LoadError* why) {
  LoadError unused;
  LoadError& reason = why != nullptr ? *why : unused;
  reason = LoadError::kUnusable;
  bool read_only = access == CardFileAccess::kRead;
  // Non-blocking, so that a FIFO at the name is refused rather than waited on.
  constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  int fd = read_only ? -1 : ::open(path.c_str(), O_RDWR | kFlags);
  if (fd < 0 && !read_only) {
    // A file that may not be written (its permissions, its media, its attributes) is read.
    if (errno != EACCES && errno != EROFS && errno != EPERM && errno != ETXTBSY) {
      error = path.string() + ": " + std::strerror(errno);
      return std::nullopt;
    }
    read_only = true;
  }
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | kFlags);
  if (fd < 0) {
    error = path.string() + ": " + std::strerror(errno);
    return std::nullopt;
  }
  CardFile card(path, {}, fd, read_only);
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error = path.string() + ": not a card image file";
    return std::nullopt;
  }
  const auto size = static_cast<std::uintmax_t>(status.st_size);
  if (!SizeAllowed(size, allowed_pages)) {
    error = SizeError(path, size, allowed_pages);
    return std::nullopt;
  }
  if (!LockOpenFile(fd, read_only ? LockKind::kShared : LockKind::kExclusive)) {
    error = path.string() + ": in use by another program";
    reason = LoadError::kInUse;
    return std::nullopt;
  }
  card.bytes_.resize(size);
  if (!ReadWhole(fd, card.bytes_)) {
    error = path.string() + ": cannot be read";
    return std::nullopt;
  }
  card.RememberFileState();
  reason = LoadError::kNone;
  return card;
}

std::optional<CardFile> CardFile::InMemory(std::vector<std::uint8_t> bytes,
                                           std::span<const std::size_t> allowed_pages,
                                           std::string& error) {
  if (!SizeAllowed(bytes.size(), allowed_pages)) {
    error = SizeError("memory card", bytes.size(), allowed_pages);
    return std::nullopt;
  }
  return CardFile("memory card", std::move(bytes), -1, false);
}

CardFile::CardFile(std::filesystem::path path, std::vector<std::uint8_t> bytes, int fd,
                   bool read_only)
    : path_(std::move(path)), bytes_(std::move(bytes)), fd_(fd), read_only_(read_only) {}

CardFile::CardFile(CardFile&& other) noexcept
    : path_(std::move(other.path_)),
      bytes_(std::move(other.bytes_)),
      fd_(std::exchange(other.fd_, -1)),
      read_only_(other.read_only_),
      device_(other.device_),
      inode_(other.inode_),
      modified_(other.modified_) {}

CardFile& CardFile::operator=(CardFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    bytes_ = std::move(other.bytes_);
    fd_ = std::exchange(other.fd_, -1);
    read_only_ = other.read_only_;
    device_ = other.device_;
    inode_ = other.inode_;
    modified_ = other.modified_;
  }
  return *this;
}

CardFile::~CardFile() {
  if (fd_ >= 0) ::close(fd_);  // gives up the lock as well
}

void CardFile::RememberFileState() {
  struct stat status {};
  if (::fstat(fd_, &status) != 0) return;
  device_ = status.st_dev;
  inode_ = status.st_ino;
  modified_ = status.st_mtim;
}

bool CardFile::Write(std::size_t offset, std::span<const std::uint8_t> data) {
  if (read_only_) {
    errno = EROFS;
    return false;
  }
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  if (fd_ < 0) return true;  // held in memory only
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t put =
        ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  RememberFileState();
  return true;
}

std::string CardFile::ChangedUnderneath() const {
  if (fd_ < 0) return {};  // held in memory only: nobody else can reach it
  struct stat open_file {};
  struct stat at_name {};
  const bool named = ::stat(path_.c_str(), &at_name) == 0;
  if (named && (at_name.st_dev != device_ || at_name.st_ino != inode_)) {
    return "the card file was replaced by another file";
  }
  if (!named || ::fstat(fd_, &open_file) != 0 || open_file.st_nlink == 0) {
    return "the card file was deleted";
  }
  if (static_cast<std::uintmax_t>(open_file.st_size) < bytes_.size()) {
    return "the card file was shortened";
  }
  if (!SameTime(open_file.st_mtim, modified_))
    return "the card file was changed by another program";
  return {};
}

}  // namespace quorvel
