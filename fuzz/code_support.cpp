// Page table checks shared by the disassembler fuzz targets.
#include "code_support.h"

#include <algorithm>

#include "disasm/code_page_table.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

void ExercisePageTable(Input code, int lines_per_page, Input choices) {
  const std::size_t size = code.size();
  CodePageTable table(lines_per_page);
  Check(table.OpenBytes(Bytes(code.begin(), code.end())), "the page table could not be built");
  Check(table.page_count() >= 1, "a code file without a page");
  Check(table.end_address() == static_cast<std::int64_t>(size), "the table ends off the data");
  // The last page: the one whose start was recorded last.
  Check(table.ShowPage(table.page_count() - 1), "a page could not be listed");
  Check(static_cast<int>(table.lines().size()) <= lines_per_page, "a page holds too many lines");
  InputReader reader(choices);
  const std::int64_t address = (reader.Word() | reader.Byte() << 16) % (table.end_address() + 2);
  const GoToResult go = table.GoTo(address);
  Check(go.status != GoToStatus::kFailed, "going to an address failed");
  Check((go.status == GoToStatus::kOutOfRange) == (address >= table.end_address()),
        "an address was taken for out of range wrongly");
  if (go.status != GoToStatus::kSelected) return;
  Check(go.line < table.lines().size(), "the selected line is not on the page");
  Check(table.lines()[go.line].address >= address, "the selected line lies below the address");
  const std::uint8_t patch[3] = {reader.Byte(), reader.Byte(), reader.Byte()};
  const Instruction patched = table.lines()[go.line];
  Check(table.Patch(go.line, patch).status != GoToStatus::kFailed, "a patch failed");
  Check(table.code().size() == size, "a patch changed the size of the code file");
  Check(std::equal(patch, patch + patched.length,
                   table.code().begin() + static_cast<std::ptrdiff_t>(patched.position)),
        "a patch did not write the instruction's bytes");
}

std::vector<Bytes> CodeSeeds(std::size_t max_length) {
  std::vector<Bytes> seeds;
  Bytes every_opcode;
  for (int opcode = 0; opcode < 256; ++opcode) {
    every_opcode.push_back(static_cast<std::uint8_t>(opcode));
    every_opcode.push_back(0x12);
    every_opcode.push_back(0x34);
  }
  // Every opcode with two operand bytes, in pieces that fit the longest input.
  for (std::size_t start = 0; start < every_opcode.size(); start += max_length) {
    seeds.emplace_back(every_opcode.begin() + static_cast<std::ptrdiff_t>(start),
                       every_opcode.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                  every_opcode.size(), start + max_length)));
  }
  for (const char* game :
       {"dreampotato/tetris.vms", "dreampotato/helloworld.vms", "racketball/racketball.vms"}) {
    if (std::optional<Bytes> code = RealData(game)) {
      code->resize(std::min(code->size(), max_length));
      seeds.push_back(*code);
    }
  }
  return seeds;
}

}  // namespace quorvel::fuzz
