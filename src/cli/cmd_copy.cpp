// quorvel-cli copy SOURCE SAVE TARGET [--replace]: copies one save between two card sources.
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// Makes room for the copy when the target already holds a save of that name: refused
// unless --replace, which deletes the old save first (as the program does after its
// question), but only when the copy will then find room. Returns an empty text when the
// copy may go ahead.
std::string ResolveNameCollision(const Args& args, CardSources& sources, CardImage& target,
                                 const SaveRecord& save) {
  const std::string& target_name = args.positional[2];
  std::optional<std::size_t> existing = FindSaveByName(target, save.name);
  if (!existing) return "";
  if (!args.Has("replace")) {
    return target_name + " already holds a save named " + PrintableName(save.name) +
           "; give --replace to replace it";
  }
  Placement placement;
  TransferError room =
      PlanReplacement(target, *existing, save.size, save.header_in_second_block, placement);
  if (room != TransferError::kNone) return "copy refused: " + std::string(Describe(room));
  std::string error;
  if (!DeleteSave(target, *existing)) return target_name + ": the old save could not be deleted";
  if (!sources.Reload(target, error)) return target_name + ": " + error;
  return "";
}

int RunCopy(const Args& args) {
  RequirePositional(args, 3);
  const std::string& source_name = args.positional[0];
  const std::string& target_name = args.positional[2];
  if (CardSources::SameSource(source_name, target_name)) {
    return Fail("SOURCE and TARGET are the same card");
  }
  CardSources sources(args);
  std::string error;
  std::optional<FoundSave> found =
      sources.OpenSave(source_name, args.positional[1], error, ImageAccess::kRead);
  if (!found) return sources.Fail(error);
  CardImage& source = *found->card;
  CardImage* target = sources.OpenFormatted(target_name, error);
  if (target == nullptr) return sources.Fail(error);

  error = ResolveNameCollision(args, sources, *target, source.records[found->index]);
  if (!error.empty()) return sources.Fail(error);
  TransferError result = CopySave(source, found->index, *target);
  if (result != TransferError::kNone) {
    return sources.Fail("copy refused: " + std::string(Describe(result)));
  }
  if (!sources.Reload(*target, error)) return sources.Fail(target_name + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{"copy", "SOURCE SAVE TARGET [--replace]", &RunCopy};

}  // namespace
}  // namespace quorvel::cli
