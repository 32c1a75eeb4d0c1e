// quorvel-cli import SOURCE FILE.dci [--replace|--add]: adds a single-save file to a card.
#include <filesystem>

#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/save_transfer.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// A save of the same name is replaced with --replace, kept beside the new one with --add, and
// otherwise refused (as the program does when both of its questions are answered No). A
// replace whose new save would not find room deletes nothing. Returns an empty text when the
// import may go ahead.
std::string ResolveNameCollision(const Args& args, CardSources& sources, CardImage& card,
                                 const std::string& name, const std::string& file) {
  const std::optional<std::size_t> existing = FindSaveByName(card, name);
  if (!existing || args.Has("add")) return "";
  const std::string& source = args.positional[0];
  if (!args.Has("replace")) {
    return source + " already holds a save named " + PrintableName(name) +
           "; give --replace to replace it or --add to keep both";
  }
  if (const std::optional<DirEntry> entry = ReadDciEntry(file)) {
    const TransferError room = PlanDciReplacement(card, *existing, *entry);
    if (room != TransferError::kNone) {
      return file + " not imported: " + DescribeImport(DciImportResult{.placement = room});
    }
  }
  std::string error;
  if (!DeleteSave(card, *existing)) return source + ": the old save could not be deleted";
  if (!sources.Reload(card, error)) return source + ": " + error;
  return "";
}

int RunImport(const Args& args) {
  RequirePositional(args, 2);
  if (args.Has("replace") && args.Has("add")) {
    throw UsageError{"import takes --replace or --add, not both"};
  }
  const std::string& source = args.positional[0];
  const std::string& file = args.positional[1];
  const std::optional<std::string> name = DciName(file);
  if (!name) {
    return Fail(file +
                (std::filesystem::exists(file) ? ": not a single-save file" : ": no such file"));
  }
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.OpenFormatted(source, error);
  if (card == nullptr) return Fail(error);
  error = ResolveNameCollision(args, sources, *card, *name, file);
  if (!error.empty()) return Fail(error);
  const DciImportResult result = ImportDci(*card, file);
  if (!result.Imported()) return Fail(file + " not imported: " + DescribeImport(result));
  if (!sources.Reload(*card, error)) return sources.Fail(source + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{"import", "SOURCE FILE.dci [--replace|--add]", &RunImport};

}  // namespace
}  // namespace quorvel::cli
