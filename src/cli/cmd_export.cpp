// quorvel-cli export SOURCE SAVE OUT.dci: writes one save as a single-save file.
#include "card/dci_file.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunExport(const Args& args) {
  RequirePositional(args, 3);
  const std::string& source = args.positional[0];
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.OpenFormatted(source, error);
  if (card == nullptr) return Fail(error);
  std::optional<std::size_t> index = FindSave(*card, args.positional[1], error);
  if (!index) return Fail(source + ": " + error);
  const DciExportError result = ExportDci(*card, *index, args.positional[2]);
  if (result != DciExportError::kNone) {
    return Fail(args.positional[2] + " not written: " + std::string(Describe(result)));
  }
  return kExitOk;
}

const CommandRegistration kRegistration{"export", "SOURCE SAVE OUT.dci", &RunExport};

}  // namespace
}  // namespace quorvel::cli
