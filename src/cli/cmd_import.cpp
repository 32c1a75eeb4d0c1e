// quorvel-cli import SOURCE FILE.dci [--replace|--add]: adds a single-save file to a card.
#include <filesystem>

#include "card/file_system.h"
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunImport(const Args& args) {
  RequirePositional(args, 2);
  if (args.Has("replace") && args.Has("add")) {
    throw UsageError{"import takes --replace or --add, not both"};
  }
  const std::string& source = args.positional[0];
  const std::string& file = args.positional[1];
  const SaveFileBytes read = ReadSaveFile(file);
  if (read.status != DciImportResult::File::kOk) {
    return Fail(file +
                (std::filesystem::exists(file) ? ": not a single-save file" : ": no such file"));
  }
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.OpenWritable(source, error);
  if (card == nullptr) return Fail(error);
  // A save of the same name is replaced with --replace, kept beside the new one with --add,
  // and otherwise refused (as the program does when both of its questions are answered No).
  const bool replace = args.Has("replace");
  const bool add = args.Has("add");
  const StoreResult result = ImportSaveCommand(*card, read.bytes, FixedAnswers(replace, add));
  if (result.declined) {
    return sources.Fail(
        source + " already holds a save named " +
        PrintableName(std::string(read.bytes.begin() + kEntryName,
                                  read.bytes.begin() + kEntryName + kEntryNameSize)) +
        "; give --replace to replace it or --add to keep both");
  }
  if (result.old_save_kept) return sources.Fail(file + ": " + Describe(result));
  if (!result.Stored())
    return sources.Fail(file + " not imported: " + DescribeImport(result.AsImport()));
  if (!sources.Reload(*card, error)) return sources.Fail(source + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{"import",
                                        "SOURCE FILE.dci [--replace|--add]",
                                        &RunImport,
                                        {{"replace", false}, {"add", false}}};

}  // namespace
}  // namespace quorvel::cli
