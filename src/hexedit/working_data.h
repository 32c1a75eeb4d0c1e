// The edited data: the hex editor's private working file in the temporary directory and the
// operations that change it. Nothing here holds the data whole in memory: length changes
// move the tail in pieces, nibble shifts stream through a temporary file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "hexedit/byte_source.h"
#include "hexedit/file_handle.h"

namespace quorvel {

class WorkingData {
 public:
  WorkingData() = default;  // creates an empty working file

  bool IsOpen() const { return file_.IsOpen(); }
  const std::filesystem::path& Path() const { return file_.Path(); }
  const FileHandle& File() const { return file_.File(); }
  std::int64_t Size() const { return size_; }

  // Every operation checks its range and returns false (changing nothing) when it is outside
  // the data, or when the file refuses a read or write.
  bool Read(std::int64_t position, std::span<std::uint8_t> bytes) const;
  bool Write(std::int64_t position, std::span<const std::uint8_t> bytes);
  bool Insert(std::int64_t position, const ByteSource& bytes);
  bool Remove(std::int64_t position, std::int64_t count);
  // Replaces count bytes at position by the source's bytes (the lengths may differ).
  bool Replace(std::int64_t position, std::int64_t count, const ByteSource& bytes);
  bool Truncate(std::int64_t size);
  // Inserts a zero nibble before the nibble at nibble_index (2 × byte + 0 for the high, 1 for
  // the low nibble); the data grows by one byte, its last nibble is a padding zero.
  bool InsertNibble(std::int64_t nibble_index);
  // Removes the nibble at nibble_index; the data shrinks by one byte, dropping its last nibble.
  bool DeleteNibble(std::int64_t nibble_index);

  // Replaces the whole content by a copy of the file at path.
  bool LoadFile(const std::filesystem::path& path);
  // Writes the whole content to path through a sibling file that replaces it only when
  // complete, so a failed save never leaves a truncated file behind.
  bool SaveFile(const std::filesystem::path& path) const;

 private:
  bool MoveTail(std::int64_t from, std::int64_t to);
  bool ShiftNibbles(std::int64_t nibble_index, bool insert);

  TempFile file_;
  std::int64_t size_ = 0;
};

// Copies the source to path through the safe writer (a fresh sibling, flushed, renamed over
// path); an existing file keeps its permissions, and a link at path is written through.
bool WriteFileAtomically(const std::filesystem::path& path, const ByteSource& source);

// Copies the file at from to the file at to (atomically, as above).
bool CopyWholeFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace quorvel
