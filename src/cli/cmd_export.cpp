// quorvel-cli export SOURCE SAVE OUT.dci: writes one save as a single-save file.
#include "card/dci_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunExport(const Args& args) {
  RequirePositional(args, 3);
  const std::string& source = args.positional[0];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  std::optional<FoundSave> found = sources.OpenSave(source, args.positional[1], error);
  if (!found) return sources.Fail(error);
  // Checked with the card open, so that the card's own file is seen in use.
  if (!OutputFree(args.positional[2], error)) return sources.Fail(error);
  const DciExportError result = ExportDci(*found->card, found->index, args.positional[2]);
  if (result != DciExportError::kNone) {
    return sources.Fail(args.positional[2] + " not written: " + std::string(Describe(result)));
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{"export", "SOURCE SAVE OUT.dci", &RunExport};

}  // namespace
}  // namespace quorvel::cli
