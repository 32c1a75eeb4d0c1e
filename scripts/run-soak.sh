#!/usr/bin/env bash
# The long fault-injection soak: OPERATIONS card operations (default 1000) with link faults,
# pulled cards, commands killed half-way and a second program trying to take the cards, each
# operation undone and the undo undone again from the journal, seeded with SEED (default 1),
# over the dev build; once with the two-slot unit and once with a paged card of four pages.
#   scripts/run-soak.sh [OPERATIONS] [SEED]
# Prints the figures (operations, faults injected, undos, invariant violations); fails on a
# violation.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target soak_tests >/dev/null
QUORVEL_SOAK_OPERATIONS="${1:-1000}" QUORVEL_SOAK_SEED="${2:-1}" \
  build/dev/tests/soak/soak_tests --gtest_brief=1
