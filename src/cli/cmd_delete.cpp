// quorvel-cli delete SOURCE SAVE: frees a save's blocks and its directory slot.
#include <iostream>

#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunDelete(const Args& given) {
  const Args args = WithEntry(given, 1);
  RequirePositional(args, 2);
  const std::string& source = args.positional[0];
  CardSources sources(args);
  std::string error;
  std::optional<FoundSave> found =
      sources.OpenSave(source, args.positional[1], error, std::nullopt, /*for_writing=*/true);
  if (!found) return sources.Fail(error);
  CardImage& card = *found->card;
  const std::size_t index = found->index;
  if (!DeleteSavesCommand(card, std::span(&index, 1)))
    return sources.Fail(source + ": the FAT or directory was not written");
  if (!sources.Reload(card, error)) return sources.Fail(source + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "delete",
    "SOURCE SAVE|--entry N",
    &RunDelete,
    {kEntryOption},
    {"Deletes one save",
     "Deletes one save from the card: frees its blocks and its directory entry.",
     {kEntryHelp},
     "quorvel-cli delete slot2 SONIC_ADV"}};

}  // namespace
}  // namespace quorvel::cli
