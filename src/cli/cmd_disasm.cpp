// quorvel-cli disasm FILE: the LC86K listing of a code file, one line per instruction, written
// as it is decoded.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/command.h"
#include "cli/english_texts.h"
#include "disasm/code_reader.h"
#include "disasm/disassembler.h"

namespace quorvel::cli {
namespace {

int RunDisasm(const Args& args) {
  RequirePositional(args, 1);
  const std::string& path = args.positional[0];
  CodeReader reader;
  if (!reader.OpenCodeFile(path)) {
    std::cerr << "quorvel-cli: " << EnglishText(reader.error()) << "\n";
    return kExitFailed;
  }
  // Line by line as it is decoded, so that a file of any size needs no more memory than one
  // line; a read failure after some lines still ends with the reason and status 1.
  for (std::string line = DisassembleNext(reader); !line.empty() && std::cout;
       line = DisassembleNext(reader)) {
    std::cout << line << '\n';
  }
  std::cout.flush();
  if (reader.failed()) {
    std::cerr << "quorvel-cli: " << EnglishText(reader.error()) << "\n";
    return kExitFailed;
  }
  return std::cout ? kExitOk : kExitFailed;
}

const CommandRegistration kRegistration{
    "disasm",
    "FILE",
    &RunDisasm,
    {},
    {"Prints the LC86K disassembly of a mini-game's code",
     "Prints the LC86K disassembly of a code file (a mini-game's bytes, as the hex editor or "
     "export writes them), one line per instruction, exactly as the code window shows it.",
     {},
     "quorvel-cli disasm game.bin"}};

}  // namespace
}  // namespace quorvel::cli
