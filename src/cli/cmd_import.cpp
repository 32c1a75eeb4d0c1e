// quorvel-cli import SOURCE FILE... [--replace|--add] [--name TEXT] [--game|--data]: adds
// single-save files (DCI files, VMS/VMI pairs) to a card, one after another.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "card/file_system.h"
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// Adds one file; the reason when it was not stored.
std::optional<std::string> ImportOne(CardSources& sources, CardImage& card,
                                     const std::string& source, const std::string& file,
                                     const Args& args) {
  const SaveFileBytes read = ReadSaveFile(file, LoneVmsAnswers(args));
  if (read.status != DciImportResult::File::kOk) {
    std::string reason = DescribeRead(read, file);
    if (read.vms_error == VmsError::kKindUnclear) reason += "; give --game or --data";
    return reason;
  }
  // A save of the same name is replaced with --replace, kept beside the new one with --add,
  // and otherwise refused (as the program does when both of its questions are answered No).
  const StoreResult result =
      ImportSaveCommand(card, read.bytes, FixedAnswers(args.Has("replace"), args.Has("add")));
  std::optional<std::string> reason;
  if (result.declined) {
    reason = file + ": " + source + " already holds a save named " +
             PrintableName(std::string(read.bytes.begin() + kEntryName,
                                       read.bytes.begin() + kEntryName + kEntryNameSize)) +
             "; give --replace to replace it or --add to keep both";
  } else if (result.old_save_kept) {
    reason = file + ": " + Describe(result);
  } else if (!result.Stored()) {
    reason = file + " not imported: " + DescribeImport(result.AsImport());
  }
  std::string error;
  if (result.written && !sources.Reload(card, error)) return source + ": " + error;
  return reason;
}

int RunImport(const Args& args) {
  if (args.positional.size() < 2) {
    throw UsageError{"import takes a card and at least one file"};
  }
  if (args.Has("replace") && args.Has("add")) {
    throw UsageError{"import takes --replace or --add, not both"};
  }
  LoneVmsAnswers(args);  // --game with --data is refused before anything is done
  const std::size_t files = args.positional.size() - 1;
  if (files > 1 && args.Value("name")) {
    throw UsageError{"import takes --name with one file only"};
  }
  const std::string& source = args.positional[0];
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.OpenWritable(source, error);
  if (card == nullptr) return sources.Fail(error);
  std::size_t imported = 0;
  std::optional<std::string> failure;
  for (std::size_t k = 1; k < args.positional.size(); ++k) {
    // A save stopped half-way is not stored; the next file is not begun.
    if (files > 1 && CardSources::StopRequested()) {
      std::cout << imported << " of " << files << " files imported\n";
      return sources.Cancelled(std::to_string(imported) + " of " + std::to_string(files) +
                               " files imported");
    }
    failure = ImportOne(sources, *card, source, args.positional[k], args);
    if (!failure) {
      ++imported;
    } else if (files > 1) {
      Fail(*failure);
    }
  }
  if (files == 1) return failure ? sources.Fail(*failure) : sources.Finish();
  std::cout << imported << " of " << files << " files imported\n";
  if (imported != files) {
    return sources.Fail(std::to_string(files - imported) + " of " + std::to_string(files) +
                        " files not imported");
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "import",
    "SOURCE FILE... [--replace|--add] [--name TEXT] [--game|--data]",
    &RunImport,
    {{"replace", false}, {"add", false}, kVmsNameOption, kVmsGameOption, kVmsDataOption},
    {"Adds single-save files (DCI, VMS/VMI) to a card",
     "Adds the saves of single-save files to the card, one after another: DCI files, or VMS/VMI "
     "pairs named by either file. A save of the same name is refused unless --replace or --add. "
     "A summary line ends the run; the exit status is 1 when any file was not imported.",
     {{"--replace", "replace a save of the same name"},
      {"--add", "keep a save of the same name and add the new one beside it"},
      kVmsNameHelp,
      kVmsGameHelp,
      kVmsDataHelp},
     "quorvel-cli import slot1 save.dci other.vmi --replace"}};

}  // namespace
}  // namespace quorvel::cli
