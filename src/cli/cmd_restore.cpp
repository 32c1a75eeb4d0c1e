// quorvel-cli restore SLOT IN.dcm [--force]: writes a card image file onto the card in a slot;
// an image that holds no formatted card needs --force.
#include "card/dcm_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunRestore(const Args& args) {
  RequirePositional(args, 2);
  const std::string& slot = args.positional[0];
  const std::string& file = args.positional[1];
  if (!IsSlotName(slot)) throw UsageError{"restore writes onto a card in slot1 or slot2"};
  if (const DcmError checked = CheckImageFile(file); checked != DcmError::kNone) {
    return Fail(file + ": " + std::string(Describe(checked)));
  }
  // Every block of the card is replaced: an image that holds no formatted card (noise, an
  // empty file) is written only when asked for.
  if (const std::string problem = ImageFormatProblem(file);
      !problem.empty() && !args.Has("force")) {
    return Fail(file + ": not a formatted card (" + problem +
                "); give --force to write it onto the card in " + slot + " all the same");
  }
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.Attach(slot, error);
  if (card == nullptr) return sources.Fail(error);
  const DcmError result = RestoreCardFromFile(*card, file);
  if (result == DcmError::kNotRecorded) {
    return sources.Fail(slot + ": " + std::string(Describe(result)) + "; nothing was changed");
  }
  if (result != DcmError::kNone) {
    return sources.Fail("restore stopped, the card in " + slot +
                        " is partly overwritten: " + std::string(Describe(result)));
  }
  if (!sources.Reload(*card, error)) return sources.Fail(slot + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "restore",
    "SLOT IN.dcm [--force]",
    &RunRestore,
    {{"force", false}},
    {"Writes a card image file onto the card in a slot",
     "Writes a card image file onto the card in SLOT (slot1 or slot2), replacing all of it.",
     {{"--force", "write an image that holds no formatted card"}},
     "quorvel-cli restore slot1 backup.dcm"}};

}  // namespace
}  // namespace quorvel::cli
