// The short soak runs of the test suite (two slots, and a paged card): a seeded sequence of
// card operations under link faults and pulled cards, some of them in a process killed
// half-way and some asked to stop half-way, with a second program trying to take the cards, must
// break no invariant; undo must give every card back as it was before each operation, and undoing
// the undo as the operation left it. QUORVEL_SOAK_OPERATIONS and QUORVEL_SOAK_SEED make it the long
// run (scripts/run-soak.sh).
#include "soak/soak.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "support/temp_dir.h"

namespace quorvel::soak {
namespace {

long FromEnvironment(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::strtol(value, nullptr, 10) : fallback;
}

Figures RunSoak(Options options, int short_run) {
  quorvel::testing::TempDir dir;
  options.operations = static_cast<int>(FromEnvironment("QUORVEL_SOAK_OPERATIONS", short_run));
  options.seed = static_cast<std::uint32_t>(FromEnvironment("QUORVEL_SOAK_SEED", 1));
  const Figures figures = soak::Run(options, dir.path());
  std::cout << Describe(figures);
  EXPECT_EQ(figures.operations, options.operations);
  EXPECT_GT(figures.faults, 0u);
  EXPECT_GT(figures.succeeded, 0);
  EXPECT_GT(figures.second_writers, 0);
  EXPECT_GT(figures.undos, 0);
  EXPECT_GT(figures.undos_undone, 0);
  EXPECT_GT(figures.kills, 0);
  EXPECT_TRUE(figures.violations.empty());
  int stopped = 0;  // commands asked to stop that stopped (not those that were past it)
  for (const auto& [what, count] : figures.cancels) {
    if (what.find("ran to its end") == std::string::npos &&
        what.find("not reached") == std::string::npos) {
      stopped += count;
    }
  }
  EXPECT_GT(stopped, 0);
  if (options.paged) {
    EXPECT_GT(figures.page_changes, 0);
  }
  return figures;
}

TEST(Soak, CardOperationsUnderLinkFaultsKeepEveryInvariant) {
  const Figures figures = RunSoak(Options{}, 60);
  // A command killed after its journal record is found by a fresh journal and put back.
  EXPECT_GT(figures.interrupted_found, 0);
}

// The same on a paged card: operations run on the selected page and leave the others alone.
TEST(Soak, PagedCardOperationsUnderLinkFaultsKeepEveryInvariant) {
  Options options;
  options.paged = true;
  options.pages = 4;
  RunSoak(options, 40);
}

}  // namespace
}  // namespace quorvel::soak
