// The probe of the link unit and its description.
#include "app/unit_probe.h"

namespace quorvel {

UnitProbe ProbeUnit(LinkDevice& link) {
  UnitProbe probe;
  probe.answered = link.DetectUnitType();
  if (!probe.answered) {
    probe.timed_out = link.TimedOut();
    return probe;
  }
  probe.paged = link.PagedMode();
  if (probe.paged) {
    probe.pages_known = link.HighestPage(probe.highest_page);
  } else {
    probe.presence_known = link.GetCardPresence(probe.slot1, probe.slot2);
  }
  return probe;
}

std::string DescribeUnit(const UnitProbe& probe) {
  if (probe.paged) {
    std::string text = "unit: ORIEL paged card\n";
    if (!probe.pages_known) return text + "pages: no answer\n";
    return text + "pages: " + std::to_string(probe.highest_page + 1) + " (highest page " +
           std::to_string(probe.highest_page) + ")\n";
  }
  std::string text = "unit: Vantric two-slot unit\n";
  if (!probe.presence_known) return text + "card presence: no answer\n";
  const auto slot = [](bool present) { return present ? "card\n" : "no card\n"; };
  return text + "slot1: " + slot(probe.slot1) + "slot2: " + slot(probe.slot2);
}

std::string NoAnswerReason(const UnitProbe& probe) {
  return probe.timed_out ? "no answer to the handshake (is the unit connected and powered?)"
                         : "the reply was not understood (sync or checksum wrong)";
}

}  // namespace quorvel
