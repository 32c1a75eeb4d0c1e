// The port trace file: a buffered stream into a ReplacingFile, committed at the end of the run.
#include "app/trace_file.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>

namespace quorvel {

TraceFile::Buffer::Buffer(ReplacingFile& file) : file_(file) {
  setp(bytes_.data(), bytes_.data() + bytes_.size());
}

bool TraceFile::Buffer::Drain() {
  const auto* start = reinterpret_cast<const std::uint8_t*>(pbase());
  const auto count = static_cast<std::size_t>(pptr() - pbase());
  setp(bytes_.data(), bytes_.data() + bytes_.size());
  return count == 0 || file_.Write(std::span(start, count));
}

TraceFile::Buffer::int_type TraceFile::Buffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int TraceFile::Buffer::sync() { return Drain() ? 0 : -1; }

TraceFile::TraceFile(const std::filesystem::path& path)
    : path_(path), file_(path), buffer_(file_), stream_(&buffer_) {}

namespace {

// True when `path` holds something other than an empty file or an earlier trace.
bool HoldsOtherThanTrace(const std::filesystem::path& path) {
  std::error_code code;
  const auto status = std::filesystem::status(path, code);
  if (!std::filesystem::exists(status)) return false;
  if (!std::filesystem::is_regular_file(status)) return true;
  if (std::filesystem::file_size(path, code) == 0 && !code) return false;
  // An earlier trace starts with a whole trace line, "W 0378 01"; anything else is kept.
  const std::string_view expected = "R XXXX XX\n";
  char line[10] = {};
  std::ifstream file(path, std::ios::binary);
  if (!file.read(line, sizeof line)) return true;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const char c = line[i];
    const bool ok = i == 0 ? (c == 'W' || c == 'R')
                    : expected[i] == 'X'
                        ? (std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'))
                        : c == expected[i];
    if (!ok) return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<TraceFile> TraceFile::Create(const std::filesystem::path& path,
                                             std::string& error) {
  if (HoldsOtherThanTrace(path)) {
    error = path.string() + ": exists and is not a trace; the trace does not replace it";
    return nullptr;
  }
  std::unique_ptr<TraceFile> trace(new TraceFile(path));
  if (!trace->file_.IsOpen()) {
    error = path.string() + ": the trace file cannot be created (" + std::strerror(errno) + ")";
    return nullptr;
  }
  return trace;
}

bool TraceFile::Finish(std::string& error) {
  if (finished_) return true;
  finished_ = true;
  stream_.flush();
  // The commit also fails, with the reason, when any piece of the trace could not be written.
  if (file_.Commit()) return true;
  error = path_.string() + ": the trace file cannot be written (" + std::strerror(errno) +
          "); the trace is not kept";
  return false;
}

}  // namespace quorvel
