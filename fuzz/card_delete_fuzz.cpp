// Fuzz target: any bytes as a card (as the card_image target reads them), whose first
// listed save is deleted: the delete (refused on a card whose structure makes writes unsafe)
// and the reload of the card it leaves stay in bounds, and the reloaded card lists every save
// and checks without a fault.
#include <string>

#include "card/card_check.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "card_support.h"
#include "fuzz_support.h"

namespace quorvel::fuzz {

std::vector<Bytes> card_deleteFuzzSeeds() { return SeedCardInputs(); }

}  // namespace quorvel::fuzz

QUORVEL_FUZZ_TARGET(card_delete, quorvel::fuzz::kShortCardMaxLength) {
  using namespace quorvel;
  using namespace quorvel::fuzz;
  CardImage& card = InputCard(input).card();
  if (LoadCard(card) != LoadResult::kLoaded || card.listed_count == 0) return;
  DeleteSave(card, card.list_order[0]);
  if (LoadCard(card) != LoadResult::kLoaded) return;
  CheckListing(card);
  for (const std::string& problem : CheckCard(card)) {
    Check(!problem.empty(), "an empty problem line");
  }
}
