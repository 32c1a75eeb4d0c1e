// Fuzz target: any bytes (up to 512) as a code file are disassembled in one pass: every line
// lies inside the code, the lines follow one another, and decoding without text (as the page
// table's passes do) reads the same bytes. The page table over such code is the
// disasm_pages target's. The code is held in memory: no file per input.
#include "code_support.h"
#include "disasm/disassembler.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

// Decoding is local to each instruction: 512 bytes hold every opcode with its operands in a
// few inputs, and every line of the input is formatted, so longer inputs only cost time.
constexpr std::size_t kMaxCodeInput = 512;

std::vector<Bytes> disasmFuzzSeeds() { return CodeSeeds(kMaxCodeInput); }

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(disasm, quorvel::fuzz::kMaxCodeInput) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  CodeReader reader;
  CodeReader bare;
  Check(reader.OpenCodeBytes(input) && bare.OpenCodeBytes(input), "the code could not be opened");
  const auto size = static_cast<std::int64_t>(input.size());
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
