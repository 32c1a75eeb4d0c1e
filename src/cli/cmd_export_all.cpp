// quorvel-cli export-all SOURCE DIR [--format dci|vmi]: writes every save of a card as a
// single-save file in DIR, each under a new name made from the save's name; no file is
// written over.
#include <filesystem>
#include <iostream>

#include "card/file_system.h"
#include "card/save_commands.h"
#include "card/save_texts.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

SaveFileFormat FormatOption(const Args& args) {
  const std::string format = args.Value("format").value_or("dci");
  if (format == "dci") return SaveFileFormat::kDci;
  if (format == "vmi" || format == "vms") return SaveFileFormat::kVms;
  throw UsageError{"--format takes dci or vmi, not " + format, args.command};
}

int RunExportAll(const Args& args) {
  RequirePositional(args, 2);
  const SaveFileFormat format = FormatOption(args);
  const std::string& source = args.positional[0];
  const std::filesystem::path folder = args.positional[1];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  CardImage* card = sources.OpenFormatted(source, error);
  if (card == nullptr) return sources.Fail(error);
  std::error_code code;
  std::filesystem::create_directories(folder, code);
  if (!std::filesystem::is_directory(folder, code)) {
    return sources.Fail(folder.string() + ": not a folder that can be written");
  }
  UpdateListing(*card);
  int failed = 0;
  int written = 0;
  for (int k = 0; k < card->listed_count; ++k) {
    // A save stopped half-way writes no file; the next one is not begun.
    if (CardSources::StopRequested()) {
      return sources.Cancelled(std::to_string(written) + " of " +
                               std::to_string(card->listed_count) + " saves written");
    }
    const std::size_t slot = card->list_order[k];
    const std::string& name = card->records[slot].name;
    const std::string shown = PrintableName(TrimPadding(name));
    std::filesystem::path first_choice;
    const std::filesystem::path path = ExportPathFor(folder, name, format, &first_choice);
    const SaveExport result = ExportSaveFile(*card, slot, path);
    if (!result.Written()) {
      Fail("#" + std::to_string(slot) + " " + shown + ": " + path.string() +
           " not written: " + Describe(result));
      ++failed;
      continue;
    }
    ++written;
    std::cout << "#" << slot << " " << shown << " -> " << path.string();
    for (const std::filesystem::path& other : ExportedFiles(path)) {
      if (other != path) std::cout << " + " << other.filename().string();
    }
    if (path != first_choice) std::cout << " (" << first_choice.filename().string() << " exists)";
    std::cout << "\n";
  }
  if (failed != 0) {
    return sources.Fail(std::to_string(failed) + " of " + std::to_string(card->listed_count) +
                        " saves not written");
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "export-all",
    "SOURCE DIR [--format dci|vmi]",
    &RunExportAll,
    {{"format", true}},
    {"Writes every save of a card as single-save files in a folder",
     "Writes every save of the card into DIR (made when missing), one line per save on standard "
     "output. File names are made from the save names; no file is written over: when a name is "
     "taken, _2, _3 ... go before the extension.",
     {{"--format dci|vmi", "DCI files (without the option) or VMS/VMI pairs"}},
     "quorvel-cli export-all slot1 saves --format vmi"}};

}  // namespace
}  // namespace quorvel::cli
