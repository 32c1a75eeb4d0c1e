// Fuzz target: listings of several pages. The input, repeated until the code holds 1,000
// bytes, is paged (2 to 64 lines a page, by its first byte), searched and patched by the code
// window's table, so that small inputs reach the page boundaries.
#include "code_support.h"
#include "disasm/code_page_table.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

// Several pages of up to 64 lines each, even for instructions of three bytes.
constexpr std::size_t kCodeFileSize = 1000;

std::vector<Bytes> code_pagesFuzzSeeds() {
  return {Bytes{0x00}, Bytes{0x02, 0x10}, Bytes{0x20, 0x12, 0x34, 0x00}, Bytes{0xDD, 0x01}};
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(code_pages, 64) {
  using namespace quorvel::fuzz;
  if (input.empty()) return;
  Bytes code(kCodeFileSize);
  for (std::size_t i = 0; i < code.size(); ++i) code[i] = input[i % input.size()];
  ExercisePageTable(code, 2 + input[0] % 63, input);
}
