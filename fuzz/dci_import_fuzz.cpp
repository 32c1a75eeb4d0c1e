// Fuzz target: any bytes as a single-save file imported into an empty card. The import either
// adds the save (the card then checks clean and holds the file's blocks byte for byte) or
// leaves what the card stores as it was.
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card_support.h"
#include "demo_cards.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

std::vector<Bytes> dci_importFuzzSeeds() {
  std::vector<Bytes> seeds;
  for (int card = 1; card <= 2; ++card) {
    for (const demo::DemoSave& save : demo::DemoSaves(card)) seeds.push_back(save.dci);
  }
  for (const char* file : {"fuse-vmu/evo.dci", "fuse-vmu/sa2.dci"}) {
    if (std::optional<Bytes> dci = RealData(file)) seeds.push_back(*dci);
  }
  // Game type with a first block (CC 00 07 00), and game type with only a high byte
  // (CC 00 00 05): the card stores the first as a game at block 0 and refuses the second.
  for (std::uint8_t field : {2, 3}) {
    Bytes odd(DciFileSize(2), 0x5A);
    std::fill_n(odd.begin(), kDciEntrySize, 0);
    odd[kEntryType] = kGameType;
    odd[field] = field == 2 ? 7 : 5;
    odd[kEntrySize] = 2;
    seeds.push_back(odd);
  }
  return seeds;
}

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(dci_import, 200 * quorvel::kBlockSize) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  MemoryCard& target = ReusedCard(0);
  target.Reset(EmptyCardImage());
  CardImage& card = target.card();
  Check(LoadCard(card) == LoadResult::kLoaded, "the empty card does not load");
  CheckImportOntoEmptyCard(target, input, ImportDciBytes(card, input).Imported());
}
