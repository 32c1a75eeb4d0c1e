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

const std::vector<OptionHelp>& GlobalOptionHelp() {
  static const std::vector<OptionHelp> help = [] {
    std::vector<OptionHelp> lines(kLinkOptionHelp.begin(), kLinkOptionHelp.end());
    lines.push_back({"--stats",
                     "print the link's counters (transactions, block reads and writes, retries) "
                     "on stderr at the end of a link command"});
    lines.push_back({"--verify",
                     "read back every block written and compare it; a block that still differs "
                     "after a second write stops the command before the directory is written"});
    lines.push_back({"--no-journal",
                     "record nothing in the journal of card writes (the command cannot be "
                     "undone)"});
    lines.push_back({"--help", "describe the command (or list the commands) and exit"});
    lines.push_back({"--version", "print the program's version and exit"});
    return lines;
  }();
  return help;
}

CommandRegistration::CommandRegistration(std::string name, std::string usage, CommandFn run,
                                         std::initializer_list<OptionRule> options,
                                         CommandHelp help) {
  MutableCommands()[name] = CommandInfo{name, std::move(usage), run, options, std::move(help)};
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

std::string ProgramHelp() {
  std::string text =
      "usage: quorvel-cli [--virtual-unit DIR | --virtual-paged FILE] [--trace FILE] [--stats]\n"
      "                   [--verify] [--no-journal] COMMAND ARGS...\n"
      "       quorvel-cli help [COMMAND]\n"
      "       quorvel-cli --version\n\n";
  text += WrapText(
      "The card operations of the desktop program quorvel, for scripts and batch backups. A "
      "SOURCE is a card image file (131,072 bytes) or slot1 or slot2 of the link unit; a SAVE is "
      "a save's name or #N, the save in directory entry N.",
      0);
  std::vector<OptionHelp> lines;
  for (const auto& [name, info] : Commands()) lines.push_back({name, info.help.summary});
  text += "\ncommands:\n" + FormatOptionHelp(lines);
  text += "\nglobal options (before or after the command's arguments):\n" +
          FormatOptionHelp(GlobalOptionHelp());
  text += "\nRun \"quorvel-cli help COMMAND\" for a command's arguments, options and an example.\n";
  return text;
}

std::string CommandHelpText(const std::string& command) {
  const auto it = Commands().find(command);
  if (it == Commands().end()) return "";
  const CommandHelp& help = it->second.help;
  std::string text = CommandUsage(command) + "\n\n" + WrapText(help.description, 0);
  if (!help.options.empty()) text += "\noptions:\n" + FormatOptionHelp(help.options);
  text += "\nexample:\n  " + std::string(help.example) + "\n";
  text += "\nEvery command also takes the global options of \"quorvel-cli help\".\n";
  return text;
}

std::vector<std::string> HelpFaults(const CommandInfo& command) {
  std::vector<std::string> faults;
  const CommandHelp& help = command.help;
  const auto fault = [&](const std::string& what) { faults.push_back(command.name + ": " + what); };
  if (help.summary.empty() || help.summary.find('\n') != std::string_view::npos) {
    fault("the summary is not one line");
  }
  // The list of commands gives names a column of 14: a longer summary would wrap.
  if (help.summary.size() > 66) fault("the summary is longer than 66 characters");
  if (help.description.empty()) fault("no description");
  for (const OptionRule& rule : command.options) {
    if (!DescribesOption(help.options, rule.name))
      fault("--" + std::string(rule.name) + " has no help");
  }
  for (const OptionHelp& line : help.options) {
    if (std::none_of(command.options.begin(), command.options.end(), [&](const OptionRule& rule) {
          return DescribesOption(std::span(&line, 1), rule.name);
        })) {
      fault("help for an option it does not take: " + std::string(line.form));
    }
  }
  // The example is a command line of this command that the parser accepts (words apart by
  // blanks, no shell quoting).
  std::vector<std::string> words;
  for (std::size_t at = 0; at < help.example.size();) {
    const std::size_t end = std::min(help.example.find(' ', at), help.example.size());
    if (end > at) words.emplace_back(help.example.substr(at, end - at));
    at = end + 1;
  }
  if (words.size() < 2 || words[0] != "quorvel-cli" ||
      help.example.find_first_of("\"'\\") != std::string_view::npos) {
    fault("the example is not a plain quorvel-cli command line");
    return faults;
  }
  try {
    const Args args = ParseArgs(std::vector<std::string>(words.begin() + 1, words.end()));
    if (args.command != command.name) fault("the example runs " + args.command);
  } catch (const UsageError& error) {
    fault("the example is refused: " + error.message);
  }
  return faults;
}

}  // namespace quorvel::cli
