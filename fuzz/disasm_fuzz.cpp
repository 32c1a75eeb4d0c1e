// Fuzz target: any bytes (up to 1 KiB) as a code file are disassembled in one pass and through the
// code window's page table (a go-to and a patch) with short pages; positions and lines stay in
// bounds. The code is held in memory: no file per input.
#include <algorithm>
#include <string>

#include "code_support.h"
#include "disasm/disassembler.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

// Decoding is local to each instruction: a KiB holds every opcode with its operands many
// times over, and longer inputs only cost time.
constexpr std::size_t kMaxCodeInput = 1024;

std::vector<Bytes> disasmFuzzSeeds() {
  std::vector<Bytes> seeds;
  Bytes every_opcode;
  for (int opcode = 0; opcode < 256; ++opcode) {
    every_opcode.push_back(static_cast<std::uint8_t>(opcode));
    every_opcode.push_back(0x12);
    every_opcode.push_back(0x34);
  }
  // Every opcode with two operand bytes, in pieces that fit the longest input.
  for (std::size_t start = 0; start < every_opcode.size(); start += kMaxCodeInput) {
    seeds.emplace_back(every_opcode.begin() + static_cast<std::ptrdiff_t>(start),
                       every_opcode.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                  every_opcode.size(), start + kMaxCodeInput)));
  }
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

// Decodes the whole code once with the plain reader; every line lies inside the code and
// the lines follow one another; decoding without text (as the page table's passes do) finds
// the same instructions.
void DecodeAll(Input code) {
  CodeReader reader;
  CodeReader bare;
  Check(reader.OpenCodeBytes(code) && bare.OpenCodeBytes(code), "the code could not be opened");
  const auto size = static_cast<std::int64_t>(code.size());
  std::int64_t next = 0;
  while (std::optional<Instruction> line = DecodeNext(reader)) {
    const std::optional<Instruction> start = DecodeNext(bare, Listing::kBytesOnly);
    Check(start && start->position == line->position && start->length == line->length &&
              start->bytes == line->bytes,
          "decoding without text read other bytes than the listing");
    Check(line->position == next, "an instruction does not start where the last one ended");
    Check(line->length >= 1 && line->length <= 3, "an instruction length out of range");
    Check(!line->text.empty() && line->text.front() == '$', "a listing line without its address");
    next = reader.position();
    Check(next > line->position && next <= size, "the reader moved outside the file");
  }
  Check(next == size, "decoding stopped before the end of the data");
  Check(!DecodeNext(bare, Listing::kBytesOnly), "decoding without text went past the listing");
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(disasm, quorvel::fuzz::kMaxCodeInput) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  DecodeAll(input);
  // Pages of 2 to 129 lines, chosen by the last byte, so that listings of a few KiB reach
  // many page boundaries.
  const int lines_per_page = 2 + (input.empty() ? 0 : input.back() % 128);
  ExercisePageTable(input, lines_per_page, input);
}
