// The command table of quorvel-cli. Each command lives in its own cmd_*.cpp file and adds
// itself to the table with a static CommandRegistration.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorvel::cli {

// A parsed command line: global and command options may stand anywhere.
struct Args {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // options that take a value, without "--"
  std::set<std::string> flags;                // options without a value, without "--"

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
};

// Exit statuses of the command-line contract.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Thrown by a command that finds its arguments malformed; main prints it and exits with 2.
struct UsageError {
  std::string message;
};

using CommandFn = int (*)(const Args&);

struct CommandInfo {
  std::string name;
  std::string usage;  // the arguments, as shown by "quorvel-cli help"
  CommandFn run;
};

const std::map<std::string, CommandInfo>& Commands();

struct CommandRegistration {
  CommandRegistration(std::string name, std::string usage, CommandFn run);
};

// Parses argv (without the program name). Options that take a value are listed in
// kValueOptions; any other "--name" is a flag. Throws UsageError on a missing value.
Args ParseArgs(const std::vector<std::string>& argv);

// Requires exactly `count` positional arguments after the command, else throws UsageError.
void RequirePositional(const Args& args, std::size_t count);

}  // namespace quorvel::cli
