// Fuzz target: any bytes as a card (a whole image, or blocks laid onto the empty card: see
// ResetFromInput). The card loads (root, FAT, directory, every save's record), lists and
// checks without a fault, and every problem the check reports has a text. Each save's icon
// frames, single-save file and data are the card_saves target's, deleting a save and
// reloading is card_delete's, copies of the card's saves are card_copy's.
#include <string>

#include "card/card_check.h"
#include "card/file_system.h"
#include "card_support.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

std::vector<Bytes> card_imageFuzzSeeds() { return SeedCardInputs(); }

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(card_image, quorvel::fuzz::kShortCardMaxLength) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  CardImage& card = InputCard(input).card();
  if (LoadCard(card) != LoadResult::kLoaded) {
    CheckCard(card);
    return;
  }
  CheckListing(card);
  const std::vector<std::string> problems = CheckCard(card);
  for (const std::string& problem : problems) Check(!problem.empty(), "an empty problem line");
}
