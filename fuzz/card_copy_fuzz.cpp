// Fuzz target: any bytes as a card image (as the card_image target reads them), whose listed
// saves are each copied onto an empty card: a copy leaves its source byte for byte unchanged,
// and the target either stores what it stored (a failed copy may only have written free
// blocks) or holds the save byte for byte and checks clean (a save whose entry no card may
// hold is refused).
#include "card/card_check.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "card_support.h"
#include "fuzz_support.h"
#include "support/card_invariants.h"

namespace quorvel::fuzz {

std::vector<Bytes> card_copyFuzzSeeds() { return SeedCardInputs(); }

namespace {

constexpr int kMaxCopies = 6;

// Copies save `index` of the loaded source onto an empty card and checks the outcome; the
// source must still hold `source_before`.
void CopyOntoEmptyCard(MemoryCard& source, const Bytes& source_before, std::size_t index) {
  MemoryCard& target = ReusedCard(1);
  target.Reset(EmptyCardImage());
  Check(LoadCard(target.card()) == LoadResult::kLoaded, "the empty card does not load");

  const TransferError error = CopySave(source.card(), index, target.card());
  Check(source.bytes() == source_before, "a copy changed its source");
  if (error != TransferError::kNone) {
    Check(invariants::SameCardContent(EmptyCardImage(), target.bytes()),
          "a failed copy changed what its target stores");
    return;
  }
  const std::vector<Block> expected = SaveBlocks(source.card(), index);
  Check(LoadCard(target.card()) == LoadResult::kLoaded, "the target does not load after a copy");
  Check(target.card().listed_count == 1, "the target does not list the copied save");
  const std::size_t copied = target.card().list_order[0];
  Check(CheckCard(target.card()).empty(), "the target's check fails after a copy");
  Check(SaveBlocks(target.card(), copied) == expected, "the copied save differs from its source");
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(card_copy, quorvel::kImageFileSize) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  MemoryCard& source = ReusedCard(0);
  ResetFromInput(source, input);
  CardImage& card = source.card();
  if (LoadCard(card) != LoadResult::kLoaded) return;
  // A copy does not write to its source: one copy of its bytes serves every check that it
  // stayed unchanged.
  static Bytes source_before;
  source_before = source.bytes();
  for (int k = 0; k < card.listed_count && k < kMaxCopies; ++k) {
    CopyOntoEmptyCard(source, source_before, card.list_order[k]);
  }
}
