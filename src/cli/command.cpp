// Command table and argument parsing of quorvel-cli.
#include "cli/command.h"

#include <array>
#include <string_view>

namespace quorvel::cli {
namespace {

constexpr std::array<std::string_view, 8> kValueOptions = {
    "virtual-unit", "virtual-paged", "trace", "blocks", "frame", "dark", "name", "config"};

bool TakesValue(std::string_view name) {
  for (std::string_view option : kValueOptions) {
    if (option == name) return true;
  }
  return false;
}

std::map<std::string, CommandInfo>& MutableCommands() {
  static std::map<std::string, CommandInfo> commands;
  return commands;
}

}  // namespace

std::optional<std::string> Args::Value(const std::string& name) const {
  auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

const std::map<std::string, CommandInfo>& Commands() { return MutableCommands(); }

CommandRegistration::CommandRegistration(std::string name, std::string usage, CommandFn run) {
  MutableCommands()[name] = CommandInfo{name, std::move(usage), run};
}

Args ParseArgs(const std::vector<std::string>& argv) {
  Args args;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    if (word.size() > 2 && word.starts_with("--")) {
      std::string name = word.substr(2);
      if (TakesValue(name)) {
        if (i + 1 >= argv.size()) throw UsageError{"option " + word + " needs a value"};
        args.values[name] = argv[++i];
      } else {
        args.flags.insert(name);
      }
    } else if (args.command.empty()) {
      args.command = word;
    } else {
      args.positional.push_back(word);
    }
  }
  return args;
}

void RequirePositional(const Args& args, std::size_t count) {
  if (args.positional.size() != count) {
    const auto& commands = Commands();
    auto it = commands.find(args.command);
    std::string usage = it == commands.end() ? "" : " " + it->second.usage;
    throw UsageError{"usage: quorvel-cli " + args.command + usage};
  }
}

}  // namespace quorvel::cli
