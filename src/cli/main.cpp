// quorvel-cli: the card operations of the desktop program, from a shell.
#include <iostream>
#include <string>
#include <vector>

#include "app/version.h"
#include "cli/command.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: quorvel-cli [--virtual-unit DIR | --virtual-paged FILE] [--trace FILE] "
         "[--stats] COMMAND ARGS...\n       quorvel-cli --version\n\ncommands:\n";
  for (const auto& [name, info] : quorvel::cli::Commands()) {
    out << "  " << name << (info.usage.empty() ? "" : " ") << info.usage << "\n";
  }
}

}  // namespace

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
    if (args.command.empty() || args.command == "help" || args.Has("help")) {
      PrintUsage(args.command.empty() && !args.Has("help") ? std::cerr : std::cout);
      return args.command.empty() && !args.Has("help") ? kExitUsage : kExitOk;
    }
    auto it = Commands().find(args.command);
    if (it == Commands().end()) {
      std::cerr << "quorvel-cli: unknown command '" << args.command << "'\n";
      PrintUsage(std::cerr);
      return kExitUsage;
    }
    return it->second.run(args);
  } catch (const UsageError& error) {
    std::cerr << "quorvel-cli: " << error.message << "\n";
    const std::string usage = CommandUsage(error.command.empty() ? command : error.command);
    if (usage.empty()) {
      PrintUsage(std::cerr);
    } else {
      std::cerr << usage << "\n";
    }
    return kExitUsage;
  }
}
