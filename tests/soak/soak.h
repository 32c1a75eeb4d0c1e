// The fault-injection soak: two cards in the virtual link unit and an image file, a seeded
// random sequence of card operations while the unit injects link faults and pulls cards, and
// the invariants checked after every operation.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quorvel::soak {

struct Options {
  std::uint32_t seed = 1;
  int operations = 40;
  // On average one link transaction in `fault_one_in` gets a fault.
  std::uint32_t fault_one_in = 60;
  // On average one operation in `pull_one_in` has a card pulled out during it (put back
  // afterwards).
  std::uint32_t pull_one_in = 10;
  // A paged card of `pages` pages (the first two the demo cards, the rest empty) instead of the
  // two slots; each operation first selects a page, most often one other than page 0.
  bool paged = false;
  int pages = 4;
  // On average one operation in `kill_one_in` runs in a child process that is killed after a
  // random number of block writes, like a program killed in the middle of a command (0: never).
  std::uint32_t kill_one_in = 8;
  // On average one operation in `cancel_one_in` (of those not killed) is a copy, restore or
  // format that is asked to stop at a random point (0: never).
  std::uint32_t cancel_one_in = 5;
};

struct Figures {
  std::string setting;  // "two slots" or "paged card, N pages"
  bool paged = false;
  int operations = 0;
  int succeeded = 0;  // the operation reported success
  int failed = 0;     // it reported failure (or could not start: a card did not load)
  std::uint64_t transactions = 0;
  std::uint64_t faults = 0;  // link faults injected into transactions that ran
  int pulls = 0;             // cards pulled during an operation
  int second_writers = 0;    // times a second program tried to take the cards in use
  int page_changes = 0;      // paged card: operations that ran on a newly selected page
  // After each operation, every card it recorded commands for is put back by undo and must
  // hold exactly what it held before; then the undo is undone and the card must hold exactly
  // what the operation left (not after a killed command: its card stays put back).
  int undos = 0;
  int undos_undone = 0;
  int kills = 0;                 // operations run in a child process that was killed
  int interrupted_found = 0;     // of those: a fresh journal found the command without end mark
  int killed_unrecorded = 0;     // of those: killed before the journal recorded anything
  int finished_before_kill = 0;  // the child finished before the transaction it was to die at
  std::map<std::string, int> by_operation;
  // The operations asked to stop, by what they did: "cancelled restore: put back", ...
  std::map<std::string, int> cancels;
  std::vector<std::string> violations;  // invariants broken, one line each
};

// Runs the soak in `dir` (which it fills with the card files) and returns its figures.
Figures Run(const Options& options, const std::filesystem::path& dir);

// The figures as the lines the test and the long-run script print.
std::string Describe(const Figures& figures);

}  // namespace quorvel::soak
