// Writing whole files safely: the new content goes to a fresh file beside the name, is flushed
// to the disk, takes the old file's permissions and replaces the old file only when complete.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace quorvel {

// Takes the next piece of the content; false when it could not be written.
using WritePiece = std::function<bool(std::span<const std::uint8_t>)>;
// Hands the whole content, in order, to `write`; false when it could not (for example a read
// of its own failed, or `write` refused a piece).
using ContentWriter = std::function<bool(const WritePiece& write)>;

// What a symbolic link found at the name does.
enum class LinkAtName {
  kReplace,       // the link itself is replaced by the new file; its target stays untouched
  kWriteThrough,  // the link's target gets the new content and the link stays (for a file
                  // the user opened through a link)
};

struct SafeWriteOptions {
  LinkAtName link = LinkAtName::kReplace;
  // Flushes the open file with descriptor `fd` to the disk; returns 0 or -1 with errno set,
  // as fsync(2). Tests replace it to see that the flush comes before the rename, or to fail it.
  std::function<int(int fd)> sync_file;
};

// A new content for the file at a name, written in pieces to a fresh sibling file (created
// exclusively: no existing name, no link is ever opened; mode 0666 less the umask, or the old
// file's permissions when it exists) that replaces the file only at Commit(). Until then the
// name keeps its old file (or none); a sibling never committed is removed, except when the
// process dies first: then it stays beside the name, under the name plus ".tmp" and digits.
// A file at the name that a program holds locked as a card file (see FileInUse) is never
// replaced: no sibling is created, or Commit() fails, with errno EBUSY.
class ReplacingFile {
 public:
  explicit ReplacingFile(const std::filesystem::path& path, SafeWriteOptions options = {});
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // False when no sibling could be created (Commit() then fails with the reason in errno).
  bool IsOpen() const { return fd_ >= 0; }
  // Appends a piece; false (errno set) when it could not be written. A failed write makes
  // Commit() fail.
  bool Write(std::span<const std::uint8_t> bytes);
  // Gives the sibling the old file's permissions, flushes it to the disk and renames it over
  // the name. False (errno telling the first failing step) on any failure, the sibling removed
  // and the old file left as it was.
  bool Commit();

 private:
  void Open();
  void Discard();

  SafeWriteOptions options_;
  std::filesystem::path name_;     // the name the file finally takes
  std::filesystem::path sibling_;  // the fresh file
  int fd_ = -1;
  bool failed_ = false;
  int failure_ = 0;  // errno of the first failure (creation or write)
  bool keep_mode_ = false;
  unsigned old_mode_ = 0;
};

// The whole content through a ReplacingFile: false (errno set) when the content could not be
// produced or written, or the commit failed; `path` is then as it was.
bool WriteFileSafely(const std::filesystem::path& path, const ContentWriter& content,
                     const SafeWriteOptions& options = {});
bool WriteFileSafely(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                     const SafeWriteOptions& options = {});

}  // namespace quorvel
