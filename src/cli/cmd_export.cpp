// quorvel-cli export SOURCE SAVE OUT: writes one save as a single-save file, a DCI file or,
// when OUT ends in .vms or .vmi, a VMS/VMI pair.
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunExport(const Args& given) {
  const Args args = WithEntry(given, 1);
  RequirePositional(args, 3);
  const std::string& source = args.positional[0];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  std::optional<FoundSave> found = sources.OpenSave(source, args.positional[1], error);
  if (!found) return sources.Fail(error);
  // Checked with the card open, so that the card's own file is seen in use.
  for (const std::filesystem::path& out : ExportedFiles(args.positional[2])) {
    if (!OutputFree(out.string(), error)) return sources.Fail(error);
  }
  const SaveExport result = ExportSaveFile(*found->card, found->index, args.positional[2]);
  if (!result.Written()) {
    return sources.Fail(args.positional[2] + " not written: " + Describe(result));
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "export",
    "SOURCE SAVE|--entry N OUT.dci|OUT.vms",
    &RunExport,
    {kEntryOption},
    {"Writes one save as a single-save file (DCI or VMS/VMI)",
     "Writes one save as a single-save file: a DCI file, or a VMS/VMI pair when OUT ends in .vms "
     "or .vmi (both files are written, with the same base name of at most 8 characters).",
     {kEntryHelp},
     "quorvel-cli export slot1 --entry 0 save.dci"}};

}  // namespace
}  // namespace quorvel::cli
