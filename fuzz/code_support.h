// The code window's page table driven by a fuzz input: a page listed, a go-to and a
// patch, with the bounds that must hold afterwards.
#pragma once

#include <filesystem>

#include "fuzz_target.h"

namespace quorvel::fuzz {

// Builds the page table over the code file at `path` (which holds `size` bytes), lists its
// last page, goes to an address taken from `choices` and patches the line found there with bytes
// taken from `choices` too.
void ExercisePageTable(const std::filesystem::path& path, std::size_t size, Input choices);

}  // namespace quorvel::fuzz
