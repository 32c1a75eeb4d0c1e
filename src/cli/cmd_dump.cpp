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
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.Attach(slot, error);
  if (card == nullptr) return Fail(error);
  const DcmError result = DumpCardToFile(*card, args.positional[1]);
  if (result != DcmError::kNone) {
    return Fail("dump failed, " + args.positional[1] +
                " left as it was: " + std::string(Describe(result)));
  }
  return kExitOk;
}

const CommandRegistration kRegistration{"dump", "SLOT OUT.dcm", &RunDump};

}  // namespace
}  // namespace quorvel::cli
