// The code window's page table driven by a fuzz input: a page listed, a go-to and a
// patch, with the bounds that must hold afterwards.
#pragma once

#include "fuzz_target.h"

namespace quorvel::fuzz {

// Builds a page table of `lines_per_page` lines a page over `code` (held in memory), lists its
// last page, goes to an address taken from `choices` and patches the line found there with
// bytes taken from `choices` too.
void ExercisePageTable(Input code, int lines_per_page, Input choices);

}  // namespace quorvel::fuzz
