// quorvel-cli card-icon SOURCE IN.bmp [--dark LIST] [--name TEXT]: builds the card's own icon
// save "ICONDATA_VMS" from a 32 x 32 8-bit BMP and stores it on the card in place of the icon
// save it may already hold.
#include <bitset>
#include <charconv>

#include "card/bmp_file.h"
#include "card/card_icon_file.h"
#include "card/save_commands.h"
#include "cli/card_source.h"
#include "cli/command.h"
#include "cli/english_texts.h"

namespace quorvel::cli {
namespace {

// "0,3,15": the colours (indices 0 to 15 of the picture) that are dark on the VMU screen.
std::bitset<16> DarkColours(const Args& args) {
  const std::string list = args.Value("dark").value_or("");
  std::bitset<16> dark;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    unsigned colour = 16;
    auto [stop, code] = std::from_chars(list.data() + start, list.data() + end, colour);
    if (code != std::errc() || stop != list.data() + end || colour > 15) {
      throw UsageError{"--dark takes colour numbers 0 to 15 separated by commas"};
    }
    dark.set(colour);
    start = end + 1;
  }
  return dark;
}

int RunCardIcon(const Args& args) {
  RequirePositional(args, 2);
  const std::bitset<16> dark = DarkColours(args);
  const std::string name = args.Value("name").value_or(std::string(kDefaultCardIconName));
  if (name.size() > kCardIconNameLength) {
    throw UsageError{"--name takes at most " + std::to_string(kCardIconNameLength) + " characters"};
  }
  const std::string& source = args.positional[0];
  const std::string& picture_path = args.positional[1];
  IconImage colour;
  switch (ReadIconBmp(colour, picture_path)) {
    case BmpReadResult::kOk:
      break;
    case BmpReadResult::kCannotRead:
      return Fail(picture_path + ": cannot be read");
    case BmpReadResult::kNotIconBmp:
      return Fail(picture_path + ": " + EnglishText(kBmpFormatMessage));
  }
  IconImage monochrome = colour;
  SetDarkColours(monochrome, dark);
  const auto file = BuildCardIconFile(colour, monochrome, name);

  CardSources sources(args);
  std::string error;
  CardImage* card = sources.OpenWritable(source, error);
  if (card == nullptr) return Fail(error);
  // The console shows the first icon save of a card: an icon already there is replaced (and
  // kept when the new one cannot be stored).
  const StoreResult result = ImportSaveCommand(*card, file, FixedAnswers(/*replace=*/true));
  if (result.old_save_kept) return sources.Fail(source + ": " + Describe(result));
  if (!result.Stored())
    return sources.Fail("card icon not added: " + DescribeImport(result.AsImport()));
  if (!sources.Reload(*card, error)) return sources.Fail(source + ": " + error);
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "card-icon",
    "SOURCE IN.bmp [--dark LIST] [--name TEXT]",
    &RunCardIcon,
    {{"dark", true}, {"name", true}},
    {"Builds the card's own icon save ICONDATA_VMS from a BMP picture",
     "Builds the icon the console shows for the card itself, the save ICONDATA_VMS, from a "
     "32 x 32 BMP picture of 8 bits per pixel (16 colours at most), and stores it on the card in "
     "place of the icon save it may already hold.",
     {{"--dark LIST", "the colours (0 to 15, for example 0,3) that are dark on the VMU's screen"},
      {"--name TEXT", "the icon's name, 16 characters at most"}},
     "quorvel-cli card-icon slot1 logo.bmp --dark 0,3"}};

}  // namespace
}  // namespace quorvel::cli
