// Runs the built quorvel-cli as a separate program from a test's folder and captures what it
// printed and its exit status.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorvel::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `quorvel-cli ARGUMENTS` (shell words) with `dir` as the current directory; `before`
// is shell text put in front of the program (a time limit: "timeout 20 ", a memory limit:
// "ulimit -v 65536 && ").
inline CliRun RunCli(const std::filesystem::path& dir, const std::string& arguments,
                     const std::string& before = "") {
  const std::filesystem::path out = dir / ".cli-stdout";
  const std::filesystem::path err = dir / ".cli-stderr";
  const std::string command = "cd '" + dir.string() + "' && " + before + "'" QUORVEL_CLI_PATH "' " +
                              arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  auto read = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(out), read(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

}  // namespace quorvel::testing
