// Fuzz target: any bytes as a card image. The card loads (root, FAT, directory, every save's
// record), lists and checks without a fault, and gives each save's icon frames and its
// single-save file; each listed save copied onto an empty card
// leaves the source unchanged and the target either as it was or holding the save byte for
// byte with a clean check (a failed copy may only have written free blocks); deleting a save and
// reloading stays in bounds.
#include <algorithm>
#include <string>

#include "card/card_check.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"
#include "card/save_transfer.h"
#include "card_support.h"
#include "fuzz_support.h"
#include "support/card_invariants.h"

namespace quorvel::fuzz {

std::vector<Bytes> card_imageFuzzSeeds() {
  std::vector<Bytes> seeds = SeedCards();
  // Short inputs replace the top of the empty card: a root, then a FAT and a root.
  const Bytes& empty = EmptyCardImage();
  seeds.emplace_back(empty.end() - kBlockSize, empty.end());
  seeds.emplace_back(empty.end() - 2 * kBlockSize, empty.end());
  return seeds;
}

namespace {

constexpr int kMaxCopies = 6;

void CheckListing(const CardImage& card) {
  int with_size = 0;
  for (const SaveRecord& record : card.records) with_size += record.size != 0 ? 1 : 0;
  Check(card.listed_count == with_size, "the listing does not hold every save");
  for (int k = 0; k < card.listed_count; ++k) {
    Check(card.list_order[k] < kSaveRecords, "a listed index outside the directory");
  }
  Check(card.list_order[card.listed_count] == 0xFF, "the listing is not closed");
}

// The target's check after a copy finds nothing but what the copied entry's own fields carry
// from the source (a copy keeps the entry as it is, an odd type included).
void CheckCopyClean(const DirEntry& source_entry, const CardImage& target) {
  const std::vector<EntryFinding> carried = CheckEntryFields(source_entry);
  for (const std::string& problem : CheckCard(target)) {
    const bool from_entry = std::any_of(carried.begin(), carried.end(), [&](const EntryFinding& f) {
      return problem.size() > f.text.size() && problem.ends_with(": " + f.text);
    });
    Check(from_entry, "the target's check fails after a copy");
  }
}

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
  CheckCopyClean(source.card().records[index].entry, target.card());
  Check(SaveBlocks(target.card(), copied) == expected, "the copied save differs from its source");
}

}  // namespace
}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(card_image, quorvel::kImageFileSize) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  MemoryCard& source = ReusedCard(0);
  ResetFromInput(source, input);
  CardImage& card = source.card();
  if (LoadCard(card) != LoadResult::kLoaded) {
    CheckCard(card);
    return;
  }
  CheckListing(card);
  const std::vector<std::string> problems = CheckCard(card);
  for (const std::string& problem : problems) Check(!problem.empty(), "an empty problem line");

  // Nothing before the delete below writes to the source: one copy of its bytes serves every
  // check that a copy left it unchanged.
  static Bytes source_before;
  source_before = source.bytes();
  static Bytes held;
  for (int k = 0; k < card.listed_count && k < kMaxCopies; ++k) {
    const std::size_t index = card.list_order[k];
    const std::vector<IconImage> frames = DecodeIconFrames(card, index);
    Check(frames.size() <= card.records[index].icon_count, "more icon frames than the count");
    if (BuildDci(card, index, held) == DciExportError::kNone) {
      Check(held.size() == DciFileSize(card.records[index].size), "a single-save file's size");
    }
    CopyOntoEmptyCard(source, source_before, index);
  }
  if (card.listed_count > 0) {
    // The working file's bytes, as the hex editor and the disassembler get them.
    const std::size_t first = card.list_order[0];
    if (ReadSaveData(card, first, held)) {
      Check(held.size() <= std::size_t{card.records[first].size} * kBlockSize,
            "a save's data is longer than its blocks");
    }
    DeleteSave(card, first);
    if (LoadCard(card) == LoadResult::kLoaded) {
      CheckListing(card);
      CheckCard(card);
    }
  }
}
