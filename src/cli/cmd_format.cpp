// quorvel-cli format SOURCE --blocks 200|240|241: erases the card with that many user blocks.
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunFormat(const Args& args) {
  RequirePositional(args, 1);
  const std::optional<std::string> blocks = args.Value("blocks");
  if (!blocks || (*blocks != "200" && *blocks != "240" && *blocks != "241")) {
    throw UsageError{"format needs --blocks 200, 240 or 241"};
  }
  const std::string& source = args.positional[0];
  CardSources sources(args);
  std::string error;
  LoadResult loaded;
  CardImage* card = sources.Open(source, loaded, error);  // an unformatted card may be formatted
  if (card == nullptr) return sources.Fail(error);
  if (!FormatCardCommand(*card, std::stoi(*blocks))) {
    return sources.Fail(source + ": a block could not be written");
  }
  if (!sources.Reload(*card, error)) return sources.Fail(source + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "format",
    "SOURCE --blocks 200|240|241",
    &RunFormat,
    {{"blocks", true}},
    {"Erases a card, formatting it with 200, 240 or 241 user blocks",
     "Formats the card, erasing every save, with the number of user blocks --blocks gives (more "
     "than 200 only suits the maker's own cards).",
     {{"--blocks 200|240|241", "the card's user blocks (needed)"}},
     "quorvel-cli format spare.dcm --blocks 200"}};

}  // namespace
}  // namespace quorvel::cli
