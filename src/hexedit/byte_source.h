// Where the bytes of an edit come from: a span in memory or a range of an open file, so
// that large inserts, replacements and undo records never need the data whole in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "hexedit/file_handle.h"

namespace quorvel {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::int64_t Size() const = 0;
  virtual bool ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const = 0;
  // Writes all bytes to file at position; false on any read or write error.
  virtual bool CopyTo(FileHandle& file, std::int64_t position) const;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  bool ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const override;

 private:
  std::span<const std::uint8_t> bytes_;
};

class FileRangeSource : public ByteSource {
 public:
  FileRangeSource(const FileHandle& file, std::int64_t start, std::int64_t size)
      : file_(file), start_(start), size_(size) {}
  std::int64_t Size() const override { return size_; }
  bool ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const override {
    return file_.ReadAt(start_ + offset, bytes);
  }
  bool CopyTo(FileHandle& file, std::int64_t position) const override;

 private:
  const FileHandle& file_;
  std::int64_t start_;
  std::int64_t size_;
};

// A private copy of some bytes: kept in memory when small, in a temporary file otherwise.
class SavedBytes : public ByteSource {
 public:
  static constexpr std::int64_t kMemoryLimit = 64 * 1024;
  // Copies source; false when a read or the temporary file failed.
  bool Save(const ByteSource& source);
  std::int64_t Size() const override { return size_; }
  bool ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const override;
  bool CopyTo(FileHandle& file, std::int64_t position) const override;

 private:
  std::int64_t size_ = 0;
  std::vector<std::uint8_t> memory_;
  std::unique_ptr<TempFile> spill_;
};

// The piece size of every streamed copy.
inline constexpr std::int64_t kCopyChunk = 256 * 1024;

}  // namespace quorvel
