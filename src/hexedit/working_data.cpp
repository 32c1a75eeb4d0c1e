// The working file's length-changing operations, nibble shifts and whole-file copies.
#include "hexedit/working_data.h"

#include <algorithm>
#include <vector>

#include "files/safe_write.h"

namespace quorvel {

bool WorkingData::Read(std::int64_t position, std::span<std::uint8_t> bytes) const {
  const auto count = static_cast<std::int64_t>(bytes.size());
  if (position < 0 || position > size_ - count) return false;
  return count == 0 || file_.File().ReadAt(position, bytes);
}

bool WorkingData::Write(std::int64_t position, std::span<const std::uint8_t> bytes) {
  const auto count = static_cast<std::int64_t>(bytes.size());
  if (position < 0 || position > size_ - count) return false;
  return count == 0 || file_.File().WriteAt(position, bytes);
}

// Moves the bytes from `from` to the end so that they start at `to`, in pieces, walking from
// the end when moving up so that no piece overwrites bytes not yet moved; then sets the size.
bool WorkingData::MoveTail(std::int64_t from, std::int64_t to) {
  FileHandle& file = file_.File();
  const std::int64_t tail = size_ - from;
  const std::int64_t new_size = to + tail;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(tail, kCopyChunk)));
  if (to > from && !file.Resize(new_size)) return false;
  for (std::int64_t done = 0; done < tail;) {
    const std::int64_t n = std::min(tail - done, kCopyChunk);
    const std::int64_t offset = to > from ? tail - done - n : done;
    const std::span<std::uint8_t> piece(buffer.data(), static_cast<std::size_t>(n));
    if (!file.ReadAt(from + offset, piece) || !file.WriteAt(to + offset, piece)) return false;
    done += n;
  }
  if (to < from && !file.Resize(new_size)) return false;
  size_ = new_size;
  return true;
}

bool WorkingData::Insert(std::int64_t position, const ByteSource& bytes) {
  return Replace(position, 0, bytes);
}

bool WorkingData::Remove(std::int64_t position, std::int64_t count) {
  if (position < 0 || count < 0 || position > size_ - count) return false;
  return MoveTail(position + count, position);
}

bool WorkingData::Replace(std::int64_t position, std::int64_t count, const ByteSource& bytes) {
  if (position < 0 || count < 0 || position > size_ - count) return false;
  const std::int64_t new_count = bytes.Size();
  if (new_count != count && !MoveTail(position + count, position + new_count)) return false;
  return bytes.CopyTo(file_.File(), position);
}

bool WorkingData::Truncate(std::int64_t size) {
  if (size < 0 || size > size_ || !file_.File().Resize(size)) return false;
  size_ = size;
  return true;
}

bool WorkingData::InsertNibble(std::int64_t nibble_index) {
  if (nibble_index < 0 || nibble_index > 2 * size_) return false;
  return ShiftNibbles(nibble_index, true);
}

bool WorkingData::DeleteNibble(std::int64_t nibble_index) {
  if (nibble_index < 0 || nibble_index >= 2 * size_) return false;
  return ShiftNibbles(nibble_index, false);
}

// Rewrites the data from the byte holding nibble_index on, shifted by one nibble, into a
// temporary file, then copies it back. The output is a stream of nibbles packed two by two:
// `carry` holds the nibble waiting for its partner.
bool WorkingData::ShiftNibbles(std::int64_t nibble_index, bool insert) {
  const std::int64_t start = nibble_index / 2;
  const bool low = nibble_index % 2 == 1;
  TempFile shifted(".QZHN");
  if (!shifted.IsOpen()) return false;
  std::vector<std::uint8_t> in(static_cast<std::size_t>(kCopyChunk));
  std::vector<std::uint8_t> out;
  out.reserve(in.size() + 1);
  std::int64_t written = 0;
  std::int64_t read_from = start;
  std::uint8_t carry = 0;
  if (start < size_) {
    std::uint8_t first = 0;
    if (!file_.File().ReadAt(start, std::span(&first, 1))) return false;
    if (insert && low) {
      out.push_back(first & 0xF0);
      carry = first & 0x0F;
      read_from = start + 1;
    } else if (!insert) {
      carry = low ? first >> 4 : first & 0x0F;
      read_from = start + 1;
    }
  }
  while (true) {
    const std::int64_t n = std::min(size_ - read_from, kCopyChunk);
    const std::span<std::uint8_t> piece(in.data(), static_cast<std::size_t>(n));
    if (n > 0 && !file_.File().ReadAt(read_from, piece)) return false;
    for (const std::uint8_t b : piece) {
      out.push_back(static_cast<std::uint8_t>(carry << 4 | b >> 4));
      carry = b & 0x0F;
    }
    read_from += n;
    if (n == 0 && insert) out.push_back(static_cast<std::uint8_t>(carry << 4));
    if (!shifted.File().WriteAt(written, out)) return false;
    written += static_cast<std::int64_t>(out.size());
    out.clear();
    if (n == 0) break;
  }
  const FileRangeSource result(shifted.File(), 0, written);
  if (!result.CopyTo(file_.File(), start)) return false;
  const std::int64_t new_size = start + written;
  if (!file_.File().Resize(new_size)) return false;
  size_ = new_size;
  return true;
}

bool WorkingData::LoadFile(const std::filesystem::path& path) {
  const FileHandle source = FileHandle::OpenForReading(path);
  const std::int64_t size = source.Size();
  if (size < 0 || !file_.File().Resize(0)) return false;
  size_ = 0;
  if (!FileRangeSource(source, 0, size).CopyTo(file_.File(), 0)) {
    file_.File().Resize(0);
    return false;
  }
  size_ = size;
  return true;
}

bool WorkingData::SaveFile(const std::filesystem::path& path) const {
  return WriteFileAtomically(path, FileRangeSource(file_.File(), 0, size_));
}

bool WriteFileAtomically(const std::filesystem::path& path, const ByteSource& source) {
  // A link is written through: its target gets the new content, the link stays.
  SafeWriteOptions options;
  options.link = LinkAtName::kWriteThrough;
  const std::int64_t size = source.Size();
  if (size < 0) return false;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(size, kCopyChunk)));
  const ContentWriter content = [&](const WritePiece& write) {
    for (std::int64_t done = 0; done < size;) {
      const std::int64_t n = std::min(size - done, kCopyChunk);
      const std::span<std::uint8_t> piece(buffer.data(), static_cast<std::size_t>(n));
      if (!source.ReadAt(done, piece) || !write(piece)) return false;
      done += n;
    }
    return true;
  };
  return WriteFileSafely(path, content, options);
}

bool CopyWholeFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  const FileHandle source = FileHandle::OpenForReading(from);
  const std::int64_t size = source.Size();
  return size >= 0 && WriteFileAtomically(to, FileRangeSource(source, 0, size));
}

}  // namespace quorvel
