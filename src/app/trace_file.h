// The port trace file of --trace FILE: streamed during the run into a fresh file beside the
// name, which takes the name only when the run ends normally.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "files/safe_write.h"

namespace quorvel {

class TraceFile {
 public:
  // Null, with the reason in `error`, when the fresh file cannot be created, or when the name
  // holds a file that is not an earlier trace (its first line is no trace line): a trace never
  // replaces a card or any other file.
  static std::unique_ptr<TraceFile> Create(const std::filesystem::path& path, std::string& error);

  // Where the trace lines go; kept in a buffer and written to the fresh file in pieces.
  std::ostream& Stream() { return stream_; }
  // Writes what is buffered and puts the trace in place under its name. False, with the
  // reason in `error`, when any part of the trace could not be written: the name then keeps
  // its old file (or none), so a trace that is there is always complete.
  bool Finish(std::string& error);

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(ReplacingFile& file);

   protected:
    int_type overflow(int_type c) override;
    int sync() override;

   private:
    bool Drain();
    ReplacingFile& file_;
    std::array<char, 64 * 1024> bytes_;
  };

  explicit TraceFile(const std::filesystem::path& path);

  std::filesystem::path path_;
  ReplacingFile file_;
  Buffer buffer_;
  std::ostream stream_;
  bool finished_ = false;
};

}  // namespace quorvel
