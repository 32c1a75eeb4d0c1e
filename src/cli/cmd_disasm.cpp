// quorvel-cli disasm FILE: the LC86K listing of a code file, one line per instruction.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "disasm/code_reader.h"
#include "disasm/disassembler.h"

namespace quorvel::cli {
namespace {

int RunDisasm(const Args& args) {
  RequirePositional(args, 1);
  const std::string& path = args.positional[0];
  CodeReader reader;
  if (!reader.OpenCodeFile(path)) {
    std::cerr << "quorvel-cli: " << reader.error() << "\n";
    return kExitFailed;
  }
  std::string listing;
  for (std::string line = DisassembleNext(reader); !line.empty(); line = DisassembleNext(reader)) {
    listing += line;
    listing += '\n';
  }
  if (reader.failed()) {
    std::cerr << "quorvel-cli: " << reader.error() << "\n";
    return kExitFailed;
  }
  std::cout << listing << std::flush;
  return std::cout ? kExitOk : kExitFailed;
}

const CommandRegistration kRegistration{"disasm", "FILE", &RunDisasm};

}  // namespace
}  // namespace quorvel::cli
