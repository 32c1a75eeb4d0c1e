// Asks the link what answers on it: the kind of unit, the pages of a paged card and the card
// presence of the two slots, and puts the answer into words for the user.
#pragma once

#include <cstdint>
#include <string>

#include "link/link_device.h"

namespace quorvel {

struct UnitProbe {
  bool answered = false;     // a unit of either kind answered the detection
  bool timed_out = false;    // when it did not: the handshake got no answer at all
  bool paged = false;        // a paged card, else the two-slot unit
  bool pages_known = false;  // paged: the highest page was read
  std::uint16_t highest_page = 0;
  bool presence_known = false;  // two-slot: the card presence was read
  bool slot1 = false;
  bool slot2 = false;
};

// Detects the unit, then reads its highest page (paged card) or its card presence (two-slot
// unit). The page in use is left as it was.
UnitProbe ProbeUnit(LinkDevice& link);

// The lines that describe an answering unit, each ending in '\n'.
std::string DescribeUnit(const UnitProbe& probe);

// Why no unit answered, for "no unit answered: ...".
std::string NoAnswerReason(const UnitProbe& probe);

}  // namespace quorvel
