// quorvel-cli: the card operations of the desktop program, from a shell.
#include <iostream>
#include <string>
#include <vector>

#include "app/version.h"
#include "cli/command.h"

int main(int argc, char** argv) {
  using namespace quorvel::cli;
  std::vector<std::string> words(argv + 1, argv + argc);
  std::string command;
  try {
    Args args = ParseArgs(words);
    command = args.command;
    if (args.Has("version")) {
      std::cout << "quorvel-cli " << quorvel::ProgramVersion() << "\n";
      return kExitOk;
    }
    if (args.command.empty() && !args.Has("help")) {
      std::cerr << ProgramHelp();
      return kExitUsage;
    }
    // "help COMMAND" and "COMMAND --help" describe the command; "help" and "--help" alone
    // list them all.
    std::string described;
    if (args.command == "help") {
      if (args.positional.size() > 1) throw UsageError{"help takes one command at most"};
      if (!args.positional.empty()) described = args.positional.front();
    } else if (args.Has("help")) {
      described = args.command;
    }
    if (args.command == "help" || args.Has("help")) {
      if (described.empty()) {
        std::cout << ProgramHelp();
        return kExitOk;
      }
      if (Commands().count(described) == 0) {
        std::cerr << "quorvel-cli: unknown command '" << described << "'\n" << ProgramHelp();
        return kExitUsage;
      }
      std::cout << CommandHelpText(described);
      return kExitOk;
    }
    auto it = Commands().find(args.command);
    if (it == Commands().end()) {
      std::cerr << "quorvel-cli: unknown command '" << args.command << "'\n" << ProgramHelp();
      return kExitUsage;
    }
    return it->second.run(args);
  } catch (const UsageError& error) {
    std::cerr << "quorvel-cli: " << error.message << "\n";
    const std::string usage = CommandUsage(error.command.empty() ? command : error.command);
    if (usage.empty()) {
      std::cerr << ProgramHelp();
    } else {
      std::cerr << usage << "\n";
    }
    return kExitUsage;
  }
}
