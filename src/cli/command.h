// The command table of quorvel-cli. Each command lives in its own cmd_*.cpp file and adds
// itself to the table with a static CommandRegistration, naming the options it reads.
#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/program_options.h"

namespace quorvel::cli {

// A parsed command line: global and command options may stand anywhere.
struct Args {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> values;  // value options, without "--"
  std::set<std::string, std::less<>> flags;                // options without a value

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
};

// Exit statuses of the command-line contract.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// A card command stopped by Ctrl+C or SIGTERM, with the card left as it was (128 + SIGINT, as
// shells report an interrupted program).
inline constexpr int kExitCancelled = 130;

// Thrown on a malformed command line (an unknown option, a missing or out-of-range value, the
// wrong number of arguments); main prints it with the usage and exits with 2.
struct UsageError {
  std::string message;
  std::string command = "";  // whose usage to print, when the thrower knows better than main
};

using CommandFn = int (*)(const Args&);

// What "quorvel-cli help" says about a command.
struct CommandHelp {
  std::string_view summary;         // one line, in the list of every command
  std::string_view description;     // what the command does, for "quorvel-cli help COMMAND"
  std::vector<OptionHelp> options;  // one line for each of the command's own options
  std::string_view example;         // a whole command line, "quorvel-cli COMMAND ..."
};

struct CommandInfo {
  std::string name;
  std::string usage;  // the arguments, as shown by "quorvel-cli help COMMAND"
  CommandFn run;
  std::vector<OptionRule> options;  // the command's own options, besides the global ones
  CommandHelp help;
};

const std::map<std::string, CommandInfo>& Commands();

// The options every command accepts: the link options, --stats, --help and --version.
const std::vector<OptionRule>& GlobalOptions();

// What each global option does.
const std::vector<OptionHelp>& GlobalOptionHelp();

struct CommandRegistration {
  CommandRegistration(std::string name, std::string usage, CommandFn run,
                      std::initializer_list<OptionRule> options, CommandHelp help);
};

// --entry N: a save named by its directory entry, as "#N" names it, for the commands that take
// a SAVE argument ("#N" needs quoting in a shell).
inline constexpr OptionRule kEntryOption{"entry", true};
inline constexpr OptionHelp kEntryHelp{
    "--entry N", "the save in directory entry N, in place of SAVE (as #N, which needs quoting)"};

// The arguments with SAVE in place: with --entry N, "#N" is inserted among the positional
// arguments at `save_at` (where SAVE stands otherwise). Throws UsageError when N is not a
// number.
Args WithEntry(const Args& args, std::size_t save_at);

// Parses argv (without the program name): the first positional argument is the command.
// Throws UsageError on an option that no command knows or that the command does not take,
// a missing value, a value given to a flag, a value option given twice, or both virtual units.
Args ParseArgs(const std::vector<std::string>& argv);

// Requires exactly `count` positional arguments after the command, else throws UsageError.
void RequirePositional(const Args& args, std::size_t count);

// "usage: quorvel-cli COMMAND ARGS" for a known command, else an empty text.
std::string CommandUsage(const std::string& command);

// The program's usage and one line for each command, as "quorvel-cli help" prints it.
std::string ProgramHelp();

// The usage, description, options and example of a known command, as "quorvel-cli help
// COMMAND" prints it; an empty text for an unknown one.
std::string CommandHelpText(const std::string& command);

// What is missing or wrong in the help of a registered command, one text per fault: an empty,
// multi-line or too long summary (it must fit the list in 80 columns), no description, an own
// option without a help line (or a help line for no option), an example that is not a valid command
// line of this command. Empty when the help is whole.
std::vector<std::string> HelpFaults(const CommandInfo& command);

}  // namespace quorvel::cli
