// quorvel-cli copy SOURCE SAVE TARGET [--replace]: copies one save between two card sources.
#include "card/file_system.h"
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunCopy(const Args& given) {
  const Args args = WithEntry(given, 1);
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
  CardImage* target = sources.OpenWritable(target_name, error);
  if (target == nullptr) return sources.Fail(error);

  // A save of the same name on the target is replaced only with --replace (the program asks).
  const bool replace = args.Has("replace");
  const StoreResult result = CopySaveCommand(source, found->index, *target, FixedAnswers(replace));
  if (result.declined) {
    return sources.Fail(target_name + " already holds a save named " +
                        PrintableName(source.records[found->index].name) +
                        "; give --replace to replace it");
  }
  if (result.old_save_kept) return sources.Fail(target_name + ": " + Describe(result));
  if (!result.Stored()) return sources.Fail("copy refused: " + Describe(result));
  if (!sources.Reload(*target, error)) return sources.Fail(target_name + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "copy",
    "SOURCE SAVE|--entry N TARGET [--replace]",
    &RunCopy,
    {{"replace", false}, kEntryOption},
    {"Copies one save from one card to another",
     "Copies one save from SOURCE to TARGET, each a card image file or a slot. A save of the same "
     "name on TARGET is refused unless --replace; the old save is kept when the new one would "
     "not fit.",
     {{"--replace", "replace a save of the same name on TARGET"}, kEntryHelp},
     "quorvel-cli copy slot1 --entry 3 spare.dcm"}};

}  // namespace
}  // namespace quorvel::cli
