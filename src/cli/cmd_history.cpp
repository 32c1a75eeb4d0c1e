// quorvel-cli history SOURCE and undo SOURCE [--to N]: the journal of the writes to a card,
// and putting the card back as it was before its last command (or before command N).
#include <charconv>
#include <ctime>
#include <iostream>

#include "card/journal.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

std::string TimeText(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string StateText(const JournalEntry& entry) {
  if (!entry.finished) return "interrupted";
  return entry.succeeded ? "finished" : "failed";
}

// "3  2026-12-09 02:30:01  finished     format  (slot 1)" and the saves, when it names any.
void PrintEntry(const JournalEntry& entry) {
  std::string line = std::to_string(entry.number) + "  " + TimeText(entry.time) + "  ";
  std::string state = StateText(entry);
  state.resize(std::max<std::size_t>(state.size(), 11), ' ');
  line += state + "  " + entry.command.name;
  for (std::size_t i = 0; i < entry.command.saves.size(); ++i) {
    line += (i == 0 ? "  " : ", ") + entry.command.saves[i];
  }
  std::cout << line << "  (" << entry.source << ")\n";
}

int RunHistory(const Args& args) {
  RequirePositional(args, 1);
  const std::string& source = args.positional[0];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  CardImage* card = sources.Attach(source, error);
  if (card == nullptr) return sources.Fail(error);
  const JournalFile file = CardJournal(*card, sources.CardJournal());
  switch (file.status) {
    case JournalFile::Status::kOk:
      for (const JournalEntry& entry : file.entries) PrintEntry(entry);
      break;
    case JournalFile::Status::kMissing:
      break;
    case JournalFile::Status::kUnreadable:
      return sources.Fail(source + ": the card or its journal could not be read");
    default:
      return sources.Fail(source + ": the card's journal is " + std::string(Describe(file.status)) +
                          "; it is not used");
  }
  return sources.Finish();
}

std::optional<std::uint64_t> CommandNumber(const Args& args) {
  const std::optional<std::string> text = args.Value("to");
  if (!text) return std::nullopt;
  std::uint64_t number = 0;
  auto [end, code] = std::from_chars(text->data(), text->data() + text->size(), number);
  if (code != std::errc() || end != text->data() + text->size() || number == 0) {
    throw UsageError{"--to takes a command number of the card's history"};
  }
  return number;
}

int RunUndo(const Args& args) {
  RequirePositional(args, 1);
  const std::optional<std::uint64_t> to = CommandNumber(args);
  const std::string& source = args.positional[0];
  CardSources sources(args);
  std::string error;
  CardImage* card = sources.Attach(source, error);
  if (card == nullptr) return sources.Fail(error);
  const UndoResult result = UndoCommands(*card, sources.CardJournal(), to);
  if (result.outcome != UndoResult::Outcome::kDone) {
    return sources.Fail(source + ": " + Describe(result));
  }
  std::cout << "undone:";
  for (std::uint64_t number : result.undone) std::cout << " " << number;
  std::cout << " (" << result.blocks_written << " blocks written back)\n";
  if (LoadCard(*card) == LoadResult::kFailed) {
    return sources.Fail(source + ": the card could not be read back");
  }
  return sources.Finish();
}

const CommandRegistration kHistory{
    "history",
    "SOURCE",
    &RunHistory,
    {},
    {"Lists the commands recorded in the journal of a card",
     "Lists the commands recorded in the journal of the card, oldest first: the command's "
     "number, date and time, whether it finished, failed or was interrupted, the command and "
     "the saves it touched, and where the card was.",
     {},
     "quorvel-cli history slot1"}};
const CommandRegistration kUndo{
    "undo",
    "SOURCE [--to N]",
    &RunUndo,
    {{"to", true}},
    {"Puts a card back as it was before its last recorded command",
     "Puts the card back as it was before its last recorded command. Nothing is written when the "
     "card is not the one the journal names or when a block the commands wrote holds something "
     "else now. The undo is recorded too, so it can itself be undone.",
     {{"--to N", "go back to before command N of the history and every command after it"}},
     "quorvel-cli undo slot1 --to 4"}};

}  // namespace
}  // namespace quorvel::cli
