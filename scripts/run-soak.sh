#!/usr/bin/env bash
# The long fault-injection soak: OPERATIONS card operations (default 1000) with link faults,
# pulled cards, commands killed half-way and a second program trying to take the cards, each
# operation undone and the undo undone again from the journal, seeded with SEED (default 1),
# over the dev build; once with the two-slot unit and once with a paged card of four pages.
#   scripts/run-soak.sh [OPERATIONS] [SEED]
# With --window, the soak of the whole main window instead: a random user does ACTIONS things
# (default 1000) to the window on the two-slot unit, and half as many on a paged card, while
# the unit injects link faults.
#   scripts/run-soak.sh --window [ACTIONS] [SEED]
# Prints the figures (operations or actions, faults injected, undos, invariant violations);
# fails on a violation.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
if [ "${1:-}" = "--window" ]; then
  shift
  cmake --build --preset dev --target gui_tests >/dev/null
  QT_QPA_PLATFORM=offscreen QUORVEL_WINDOW_SOAK_ACTIONS="${1:-1000}" \
    QUORVEL_WINDOW_SOAK_SEED="${2:-1}" \
    build/dev/tests/gui/gui_tests --gtest_brief=1 --gtest_filter='WindowSoak.*'
  exit
fi
cmake --build --preset dev --target soak_tests >/dev/null
QUORVEL_SOAK_OPERATIONS="${1:-1000}" QUORVEL_SOAK_SEED="${2:-1}" \
  build/dev/tests/soak/soak_tests --gtest_brief=1
