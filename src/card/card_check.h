// A consistency check of a loaded card: root fields, the system chain, every save's FAT chain
// against its directory size, cross-linked, lost and looping blocks.
#pragma once

#include <string>
#include <vector>

#include "card/card_image.h"

namespace quorvel {

// One line per problem found in the model of a card loaded by LoadCard; empty when the card
// is consistent.
std::vector<std::string> CheckCard(const CardImage& card);

}  // namespace quorvel
