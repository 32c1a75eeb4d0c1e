// Reads a code file byte by byte through a 16 KiB window, counting file positions and code
// addresses separately.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

class CodeReader {
 public:
  static constexpr std::int64_t kWindowSize = 16384;

  // Opens the file and takes its size; position, address and instruction address become 0.
  // Returns false (see error()) when the file cannot be opened.
  bool OpenCodeFile(const std::filesystem::path& path);
  // The same over code held in memory (which must outlive the reading); always succeeds.
  bool OpenCodeBytes(std::span<const std::uint8_t> code);

  // Moves to `position` (0 to the file size); the window holding it is read by the next
  // ReadCodeByte, and later windows follow sequentially. The address is left unchanged.
  bool SeekCodeFile(std::int64_t position);

  // The byte at the position, advancing position and address by one; nullopt at the end of
  // the data (or when reading the file failed: see failed()).
  std::optional<std::uint8_t> ReadCodeByte();

  void CloseCodeFile();

  std::int64_t position() const { return position_; }
  std::int64_t file_size() const { return file_size_; }
  std::int64_t address() const { return address_; }
  void set_address(std::int64_t address) { address_ = address; }
  // The code address of the instruction being decoded.
  std::int64_t instruction_address() const { return instruction_address_; }
  void BeginInstruction() { instruction_address_ = address_; }

  // True once reading the file failed; error() then says why.
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

  // Bytes read from the file and windows loaded since the file was opened.
  std::int64_t file_bytes_read() const { return file_bytes_read_; }
  int windows_loaded() const { return windows_loaded_; }

 private:
  bool LoadWindow();
  // The error: `text` (a template of disasm/code_page_texts.h) with the path and the system's
  // reason.
  void Fail(std::string_view text);

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  bool Open() const { return file_ != nullptr || in_memory_; }

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::span<const std::uint8_t> memory_;  // the code when it is read from memory
  bool in_memory_ = false;
  std::filesystem::path path_;
  std::int64_t file_size_ = 0;
  std::int64_t position_ = 0;
  // Offset just past the bytes held in the buffer (a multiple of kWindowSize); the buffer
  // holds file offsets window_end_ - kWindowSize to window_end_ - 1.
  std::int64_t window_end_ = 0;
  std::int64_t address_ = 0;
  std::int64_t instruction_address_ = 0;
  std::string error_;
  std::int64_t file_bytes_read_ = 0;
  int windows_loaded_ = 0;
  // Not cleared when a reader is made (readers are made for every pass over a listing): each
  // window is filled by LoadWindow before any byte of it is read.
  std::array<std::uint8_t, kWindowSize> buffer_;
};

}  // namespace quorvel
