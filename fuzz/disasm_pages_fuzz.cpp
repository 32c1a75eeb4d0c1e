// Fuzz target: any bytes (up to 512) as a code file, through the code window's page table with
// short pages (2 to 129 lines, chosen by the last byte): the last page, a go-to and a patch
// stay in bounds and keep the file's size. The code is held in memory: no file per input.
#include "code_support.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

// As long as the disasm target's inputs: the page table's passes decode the whole input
// several times.
constexpr std::size_t kMaxPagedCode = 512;

std::vector<Bytes> disasm_pagesFuzzSeeds() { return CodeSeeds(kMaxPagedCode); }

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(disasm_pages, quorvel::fuzz::kMaxPagedCode) {
  using namespace quorvel::fuzz;
  const int lines_per_page = 2 + (input.empty() ? 0 : input.back() % 128);
  ExercisePageTable(input, lines_per_page, input);
}
