// Command table and argument parsing of quorvel-cli.
#include "cli/command.h"

#include <algorithm>

#include "app/link_setup.h"

namespace quorvel::cli {
namespace {

std::map<std::string, CommandInfo>& MutableCommands() {
  static std::map<std::string, CommandInfo> commands;
  return commands;
}

bool Names(const std::vector<OptionRule>& rules, std::string_view name) {
  return std::any_of(rules.begin(), rules.end(),
                     [name](const OptionRule& rule) { return rule.name == name; });
}

// Every option of any command, so that an option may stand before the command's name.
std::vector<OptionRule> AllOptions() {
  std::vector<OptionRule> all = GlobalOptions();
  for (const auto& [name, info] : Commands()) {
    for (const OptionRule& rule : info.options) {
      if (!Names(all, rule.name)) all.push_back(rule);
    }
  }
  return all;
}

void RequireCommandOptions(const Args& args) {
  const auto it = Commands().find(args.command);
  if (it == Commands().end()) return;  // main says the command is unknown
  const auto check = [&](const std::string& name) {
    if (!Names(GlobalOptions(), name) && !Names(it->second.options, name)) {
      throw UsageError{args.command + " takes no option --" + name, args.command};
    }
  };
  for (const auto& [name, value] : args.values) check(name);
  for (const std::string& name : args.flags) check(name);
}

}  // namespace

std::optional<std::string> Args::Value(const std::string& name) const {
  auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

const std::map<std::string, CommandInfo>& Commands() { return MutableCommands(); }

const std::vector<OptionRule>& GlobalOptions() {
  static const std::vector<OptionRule> options = [] {
    std::vector<OptionRule> rules(kLinkOptionRules.begin(), kLinkOptionRules.end());
    rules.push_back({"stats", false});
    rules.push_back({"verify", false});
    rules.push_back({"no-journal", false});
    rules.push_back(kHelpOption);
    rules.push_back(kVersionOption);
    return rules;
  }();
  return options;
}

CommandRegistration::CommandRegistration(std::string name, std::string usage, CommandFn run,
                                         std::initializer_list<OptionRule> options) {
  MutableCommands()[name] = CommandInfo{name, std::move(usage), run, options};
}

Args ParseArgs(const std::vector<std::string>& argv) {
  std::string error;
  std::optional<ProgramOptions> parsed = ParseProgramOptions(argv, AllOptions(), error);
  if (!parsed) throw UsageError{error};
  if (!LinkOptionsFrom(*parsed, error)) throw UsageError{error};
  Args args;
  if (!parsed->positional.empty()) {
    args.command = parsed->positional.front();
    args.positional.assign(parsed->positional.begin() + 1, parsed->positional.end());
  }
  args.values = std::move(parsed->values);
  args.flags = std::move(parsed->flags);
  RequireCommandOptions(args);
  return args;
}

void RequirePositional(const Args& args, std::size_t count) {
  const std::size_t given = args.positional.size();
  if (given == count) return;
  throw UsageError{args.command + " takes " + std::to_string(count) +
                   (count == 1 ? " argument" : " arguments") + ", not " + std::to_string(given)};
}

Args WithEntry(const Args& args, std::size_t save_at) {
  const std::optional<std::string> entry = args.Value("entry");
  if (!entry) return args;
  if (entry->empty() || entry->size() > 3 ||
      !std::all_of(entry->begin(), entry->end(), [](char c) { return c >= '0' && c <= '9'; })) {
    throw UsageError{"--entry takes a directory entry number, not " + *entry, args.command};
  }
  Args with = args;
  const std::size_t at = std::min(save_at, with.positional.size());
  with.positional.insert(with.positional.begin() + static_cast<std::ptrdiff_t>(at), "#" + *entry);
  return with;
}

std::string CommandUsage(const std::string& command) {
  const auto it = Commands().find(command);
  if (it == Commands().end()) return "";
  return "usage: quorvel-cli " + command + (it->second.usage.empty() ? "" : " ") + it->second.usage;
}

}  // namespace quorvel::cli
