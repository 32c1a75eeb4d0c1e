// Byte sources and the streamed copy between them and files.
#include "hexedit/byte_source.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

bool MemorySource::ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const {
  if (offset < 0 || offset + static_cast<std::int64_t>(bytes.size()) > Size()) return false;
  std::memcpy(bytes.data(), bytes_.data() + offset, bytes.size());
  return true;
}

bool FileRangeSource::CopyTo(FileHandle& file, std::int64_t position) const {
  const std::int64_t done = file.CopyInKernel(file_, start_, position, size_);
  return done == size_ || FileRangeSource(file_, start_ + done, size_ - done)
                              .ByteSource::CopyTo(file, position + done);
}

bool SavedBytes::Save(const ByteSource& source) {
  size_ = source.Size();
  memory_.clear();
  spill_.reset();
  if (size_ <= kMemoryLimit) {
    memory_.resize(static_cast<std::size_t>(size_));
    return source.ReadAt(0, memory_);
  }
  spill_ = std::make_unique<TempFile>(".QZHU");
  return spill_->IsOpen() && source.CopyTo(spill_->File(), 0);
}

bool SavedBytes::CopyTo(FileHandle& file, std::int64_t position) const {
  if (spill_) return FileRangeSource(spill_->File(), 0, size_).CopyTo(file, position);
  return MemorySource(memory_).CopyTo(file, position);
}

bool SavedBytes::ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) const {
  if (spill_) return spill_->File().ReadAt(offset, bytes);
  return MemorySource(memory_).ReadAt(offset, bytes);
}

bool ByteSource::CopyTo(FileHandle& file, std::int64_t position) const {
  const std::int64_t size = Size();
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(size, kCopyChunk)));
  for (std::int64_t done = 0; done < size;) {
    const auto n = static_cast<std::size_t>(std::min(size - done, kCopyChunk));
    const std::span<std::uint8_t> piece(buffer.data(), n);
    if (!ReadAt(done, piece) || !file.WriteAt(position + done, piece)) return false;
    done += static_cast<std::int64_t>(n);
  }
  return true;
}

}  // namespace quorvel
