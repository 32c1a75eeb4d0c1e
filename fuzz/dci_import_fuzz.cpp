// Fuzz target: any bytes as a single-save file imported into an empty card. The import either
// adds the save (the card then checks clean and holds the file's blocks byte for byte) or
// leaves what the card stores as it was.
#include "card/card_check.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card_support.h"
#include "demo_cards.h"
#include "fuzz_support.h"
#include "support/card_invariants.h"

namespace quorvel::fuzz {

std::vector<Bytes> dci_importFuzzSeeds() {
  std::vector<Bytes> seeds;
  for (int card = 1; card <= 2; ++card) {
    for (const demo::DemoSave& save : demo::DemoSaves(card)) seeds.push_back(save.dci);
  }
  for (const char* file : {"fuse-vmu/evo.dci", "fuse-vmu/sa2.dci"}) {
    if (std::optional<Bytes> dci = RealData(file)) seeds.push_back(*dci);
  }
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(dci_import, 200 * quorvel::kBlockSize) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  MemoryCard target(EmptyCardImage());
  CardImage& card = target.card();
  Check(LoadCard(card) == LoadResult::kLoaded, "the empty card does not load");
  const DciImportResult result = ImportDciBytes(card, input);
  if (!result.Imported()) {
    Check(invariants::SameCardContent(EmptyCardImage(), target.bytes()),
          "a refused import changed what the card stores");
    return;
  }
  Check(LoadCard(card) == LoadResult::kLoaded, "the card does not load after an import");
  Check(CheckCard(card).empty(), "the card's check fails after an import");
  Check(card.listed_count == 1, "the imported save is not listed");
  const std::vector<Block> blocks = SaveBlocks(card, card.list_order[0]);
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    const Input expected = input.subspan(kDciEntrySize + k * kBlockSize, kBlockSize);
    Check(std::equal(blocks[k].begin(), blocks[k].end(), expected.begin()),
          "an imported block differs from the file");
  }
}
