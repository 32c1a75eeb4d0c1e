// Fuzz target: any bytes as a card (as the card_image target reads them), whose listed
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

// The model a load of the empty card makes, made once.
const CardImage& EmptyModel() {
  static MemoryCard empty(EmptyCardImage());
  static const bool loaded = LoadCard(empty.card()) == LoadResult::kLoaded;
  Check(loaded && empty.card().listed_count == 0, "the empty card does not load empty");
  return empty.card();
}

// Gives `card`, which holds the empty card's bytes again, the model a load of them makes,
// without loading them: every copy's target starts from the empty card. Of the records only
// those that hold a save differ from the empty model's: a copy changes no record but the one it
// places a save in (and puts that back when it fails), and the reload after a copy clears every
// record without a save.
void RestoreEmptyModel(CardImage& card) {
  const CardImage& model = EmptyModel();
  card.root = model.root;
  card.fat = model.fat;
  for (std::size_t k = 0; k < card.records.size(); ++k) {
    if (card.records[k].size != 0) card.records[k] = model.records[k];
  }
  card.list_order = model.list_order;
  card.listed_count = model.listed_count;
  card.free_blocks = model.free_blocks;
  card.io_error = model.io_error;
  card.link_failed = model.link_failed;
  card.system_chain_repaired = model.system_chain_repaired;
#ifndef QUORVEL_LIBFUZZER
  // The replay (CTest) proves the restored model is the loaded one.
  static MemoryCard loaded(EmptyCardImage());
  Check(LoadCard(loaded.card()) == LoadResult::kLoaded, "the empty card does not load");
  const CardImage& fresh = loaded.card();
  Check(fresh.root == card.root && fresh.fat == card.fat && fresh.list_order == card.list_order &&
            fresh.listed_count == card.listed_count && fresh.free_blocks == card.free_blocks,
        "the restored empty model differs from a load");
  for (std::size_t k = 0; k < card.records.size(); ++k) {
    const SaveRecord& a = fresh.records[k];
    const SaveRecord& b = card.records[k];
    Check(a.size == b.size && a.entry == b.entry && a.name == b.name &&
              a.description == b.description && a.header_text == b.header_text &&
              a.date == b.date && a.time == b.time && a.icon_count == b.icon_count &&
              a.first_block == b.first_block,
          "a restored empty record differs from a load");
  }
#endif
}

// Copies save `index` of the loaded source onto an empty card and checks the outcome; the
// source must still hold `source_before`.
void CopyOntoEmptyCard(MemoryCard& source, const Bytes& source_before, std::size_t index) {
  MemoryCard& target = ReusedCard(1);
  target.Reset(EmptyCardImage());
  RestoreEmptyModel(target.card());

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

QUORVEL_FUZZ_TARGET(card_copy, quorvel::fuzz::kShortCardMaxLength) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  MemoryCard& source = InputCard(input);
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
