// An open file addressed by 64-bit positions, and the exclusive creation of the hex editor's
// private working files in this run's private folder (hexedit/private_folder.h). With the
// private folder, the only place in the hex editor that talks to the operating system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace quorvel {

class FileHandle {
 public:
  FileHandle() = default;
  ~FileHandle();
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  // Creates a new file that did not exist: never opens a file or a link planted under the name.
  static FileHandle CreateExclusive(const std::filesystem::path& path);
  // Opens an existing file for reading only.
  static FileHandle OpenForReading(const std::filesystem::path& path);
  // True when the file exists and may be opened for writing.
  static bool CanOpenForWriting(const std::filesystem::path& path);

  bool IsOpen() const { return fd_ >= 0; }
  void Close();

  std::int64_t Size() const;  // -1 on failure
  // Reads exactly bytes.size() bytes at position; false on a short read or an error.
  bool ReadAt(std::int64_t position, std::span<std::uint8_t> bytes) const;
  bool WriteAt(std::int64_t position, std::span<const std::uint8_t> bytes);
  // Copies up to count bytes from another file inside the kernel; returns how many it copied
  // (fewer, even 0, where the system cannot: the caller copies the rest itself).
  std::int64_t CopyInKernel(const FileHandle& source, std::int64_t source_position,
                            std::int64_t position, std::int64_t count);
  bool Resize(std::int64_t size);
  bool Sync();

 private:
  explicit FileHandle(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// A file created exclusively in this run's private folder under a fresh name of 8 upper-case
// hexadecimal digits + extension, removed again when the object goes.
class TempFile {
 public:
  explicit TempFile(std::string_view extension = ".QZHT");
  // Starts the search for a free name at the given number instead of the tick count.
  TempFile(std::string_view extension, std::uint32_t first_name);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  FileHandle& File() { return file_; }
  const FileHandle& File() const { return file_; }
  bool IsOpen() const { return file_.IsOpen(); }

 private:
  std::filesystem::path path_;
  FileHandle file_;
};

// The 8 upper-case hexadecimal digits of a number, zero-padded ("0001A2F0").
std::string EightHexDigits(std::uint32_t value);

}  // namespace quorvel
