// The port trace file: a buffered stream into a ReplacingFile, committed at the end of the run.
#include "app/trace_file.h"

#include <cerrno>
#include <cstring>

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

std::unique_ptr<TraceFile> TraceFile::Create(const std::filesystem::path& path,
                                             std::string& error) {
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
