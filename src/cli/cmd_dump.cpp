// quorvel-cli dump SLOT OUT.dcm: backs a whole card up into a card image file.
#include "card/dcm_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunDump(const Args& args) {
  RequirePositional(args, 2);
  const std::string& slot = args.positional[0];
  if (!IsSlotName(slot)) throw UsageError{"dump reads a card in slot1 or slot2"};
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  CardImage* card = sources.Attach(slot, error);
  if (card == nullptr) return sources.Fail(error);
  // Checked with the slot open, so that a virtual card's own file is seen in use.
  if (!OutputFree(args.positional[1], error)) return sources.Fail(error);
  const DcmError result = DumpCardToFile(*card, args.positional[1]);
  if (result != DcmError::kNone) {
    return sources.Fail("dump failed, " + args.positional[1] +
                        " left as it was: " + std::string(Describe(result)));
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "dump",
    "SLOT OUT.dcm",
    &RunDump,
    {},
    {"Backs a whole card up into a card image file",
     "Reads the whole card in SLOT (slot1 or slot2) into a card image file, in DCM order for a "
     ".dcm name, else in the card's own order. A dump that fails leaves OUT as it was.",
     {},
     "quorvel-cli dump slot1 backup.dcm"}};

}  // namespace
}  // namespace quorvel::cli
