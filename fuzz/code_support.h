// What the disassembler fuzz targets share: the code window's page table driven by a fuzz
// input, and the code files they start from.
#pragma once

#include <vector>

#include "fuzz_target.h"

namespace quorvel::fuzz {

// Builds a page table of `lines_per_page` lines a page over `code` (held in memory), lists its
// last page, goes to an address taken from `choices` and patches the line found there with
// bytes taken from `choices` too.
void ExercisePageTable(Input code, int lines_per_page, Input choices);

// Code files of at most `max_length` bytes: every opcode with two operand bytes (in pieces),
// and the start of real mini-games when the shared data is present.
std::vector<Bytes> CodeSeeds(std::size_t max_length);

}  // namespace quorvel::fuzz
