// Fuzz target: any bytes as a code file are disassembled in one pass and through the code
// window's page table (a go-to and a patch); positions and lines stay in bounds. Longer
// listings of several pages are the code_pages target's.
#include <string>

#include "code_support.h"
#include "disasm/disassembler.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

constexpr std::size_t kMaxCodeInput = 4096;

std::vector<Bytes> disasmFuzzSeeds() {
  std::vector<Bytes> seeds;
  Bytes every_opcode;
  for (int opcode = 0; opcode < 256; ++opcode) {
    every_opcode.push_back(static_cast<std::uint8_t>(opcode));
    every_opcode.push_back(0x12);
    every_opcode.push_back(0x34);
  }
  seeds.push_back(every_opcode);
  for (const char* game :
       {"dreampotato/tetris.vms", "dreampotato/helloworld.vms", "racketball/racketball.vms"}) {
    if (std::optional<Bytes> code = RealData(game)) {
      code->resize(std::min<std::size_t>(code->size(), kMaxCodeInput));
      seeds.push_back(*code);
    }
  }
  return seeds;
}

namespace {

// Decodes the whole file once with the plain reader; every line lies inside the file and
// the lines follow one another.
void DecodeAll(const std::filesystem::path& path, std::size_t size) {
  CodeReader reader;
  Check(reader.OpenCodeFile(path), "the code file could not be opened");
  std::int64_t next = 0;
  while (std::optional<Instruction> line = DecodeNext(reader)) {
    Check(line->position == next, "an instruction does not start where the last one ended");
    Check(line->length >= 1 && line->length <= 3, "an instruction length out of range");
    Check(!line->text.empty() && line->text.front() == '$', "a listing line without its address");
    next = reader.position();
    Check(next > line->position && next <= static_cast<std::int64_t>(size),
          "the reader moved outside the file");
  }
  Check(next == static_cast<std::int64_t>(size), "decoding stopped before the end of the data");
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(disasm, quorvel::fuzz::kMaxCodeInput) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  const std::filesystem::path path = ScratchDir() / "code.bin";
  WriteFile(path, input);
  DecodeAll(path, input.size());

  ExercisePageTable(path, input.size(), input);
}
