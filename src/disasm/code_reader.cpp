// Reads a code file byte by byte through a 16 KiB window.
#include "disasm/code_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "disasm/code_page_texts.h"
#include "files/input_file.h"

namespace quorvel {

bool CodeReader::OpenCodeFile(const std::filesystem::path& path) {
  CloseCodeFile();
  path_ = path;
  error_.clear();
  file_size_ = position_ = window_end_ = address_ = instruction_address_ = 0;
  file_bytes_read_ = 0;
  windows_loaded_ = 0;
  InputFile input = OpenRegularFile(path);
  if (!input.file) {
    error_ = FillText(kCodeOpenErrorText, {path_.string(), input.error});
    return false;
  }
  file_.reset(input.file.release());
  if (std::fseek(file_.get(), 0, SEEK_END) != 0 || (file_size_ = std::ftell(file_.get())) < 0) {
    Fail(kCodeSizeErrorText);
    file_.reset();
    return false;
  }
  return true;
}

bool CodeReader::OpenCodeBytes(std::span<const std::uint8_t> code) {
  CloseCodeFile();
  path_ = "code in memory";
  error_.clear();
  position_ = window_end_ = address_ = instruction_address_ = 0;
  file_bytes_read_ = 0;
  windows_loaded_ = 0;
  memory_ = code;
  in_memory_ = true;
  file_size_ = static_cast<std::int64_t>(code.size());
  return true;
}

bool CodeReader::SeekCodeFile(std::int64_t position) {
  if (!Open() || position < 0 || position > file_size_) return false;
  position_ = position;
  // The window holding the position is read by the next ReadCodeByte.
  window_end_ = position - position % kWindowSize;
  return true;
}

std::optional<std::uint8_t> CodeReader::ReadCodeByte() {
  if (!Open() || failed() || position_ >= file_size_) return std::nullopt;
  if (position_ >= window_end_ && !LoadWindow()) return std::nullopt;
  std::uint8_t byte = buffer_[position_ % kWindowSize];
  ++position_;
  ++address_;
  return byte;
}

void CodeReader::CloseCodeFile() {
  file_.reset();
  memory_ = {};
  in_memory_ = false;
}

bool CodeReader::LoadWindow() {
  std::int64_t wanted = std::min(kWindowSize, file_size_ - window_end_);
  if (in_memory_) {
    std::copy_n(memory_.begin() + window_end_, wanted, buffer_.begin());
    file_bytes_read_ += wanted;
    ++windows_loaded_;
    window_end_ += kWindowSize;
    return true;
  }
  if (std::fseek(file_.get(), window_end_, SEEK_SET) != 0) {
    Fail(kCodeSeekErrorText);
    return false;
  }
  std::size_t got = std::fread(buffer_.data(), 1, static_cast<std::size_t>(wanted), file_.get());
  file_bytes_read_ += static_cast<std::int64_t>(got);
  ++windows_loaded_;
  if (static_cast<std::int64_t>(got) != wanted) {
    if (std::ferror(file_.get())) {
      Fail(kCodeReadErrorText);
    } else {
      error_ = FillText(kCodeReadErrorText, {path_.string(), kCodeShrankText});
    }
    return false;
  }
  window_end_ += kWindowSize;
  return true;
}

void CodeReader::Fail(std::string_view text) {
  error_ = FillText(text, {path_.string(), std::strerror(errno)});
}

}  // namespace quorvel
