// Opening a file the user named as input: only a regular file is opened, and never with a
// call that can block. A FIFO (whose open waits for a writer and whose reads wait for data),
// a terminal, a device, a socket or a folder is refused.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace quorvel {

struct InputFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The text given for a name that is there but is not a regular file.
inline constexpr const char* kNotRegularFile = "not a regular file";

struct InputFile {
  std::unique_ptr<std::FILE, InputFileCloser>
      file;           // null when the file was refused or could not be opened
  std::string error;  // why not: kNotRegularFile, or the system's text for the open's failure
};

// Opens `path` for reading ("rb"), or for reading and writing when `for_writing` is set
// ("r+b"), when it is a regular file (a link to one counts).
InputFile OpenRegularFile(const std::filesystem::path& path, bool for_writing = false);

}  // namespace quorvel
