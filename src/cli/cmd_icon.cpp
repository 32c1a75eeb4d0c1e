// quorvel-cli icon SOURCE SAVE OUT.bmp [--frame K]: one frame of a save's icon as a BMP.
#include <charconv>

#include "card/icon_frames.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

std::size_t FrameNumber(const Args& args) {
  const std::string text = args.Value("frame").value_or("0");
  std::size_t frame = 0;
  auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), frame);
  if (code != std::errc() || end != text.data() + text.size()) {
    throw UsageError{"--frame takes a frame number (0 is the first)"};
  }
  return frame;
}

int RunIcon(const Args& given) {
  const Args args = WithEntry(given, 1);
  RequirePositional(args, 3);
  const std::size_t frame = FrameNumber(args);
  const std::string& source = args.positional[0];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  std::optional<FoundSave> found = sources.OpenSave(source, args.positional[1], error);
  if (!found) return sources.Fail(error);
  // Checked with the card open, so that the card's own file is seen in use.
  if (!OutputFree(args.positional[2], error)) return sources.Fail(error);
  CardImage& card = *found->card;
  if (!HasIconFrame(card, found->index, frame)) {
    return Fail(args.positional[1] + " has no icon frame " + std::to_string(frame) + " (it has " +
                std::to_string(card.records[found->index].icon_count) + ")");
  }
  if (!ExportIconFrame(card, found->index, frame, args.positional[2])) {
    return sources.Fail(args.positional[2] + " not written");
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "icon",
    "SOURCE SAVE|--entry N OUT.bmp [--frame K]",
    &RunIcon,
    {{"frame", true}, kEntryOption},
    {"Writes one frame of a save's icon as a BMP picture",
     "Writes one frame of a save's icon as a 32 x 32 BMP picture of 8 bits per pixel, the "
     "2,102-byte file the program's icon export writes.",
     {{"--frame K", "the frame to write, 0 (without the option) the first"}, kEntryHelp},
     "quorvel-cli icon slot1 --entry 2 icon.bmp --frame 1"}};

}  // namespace
}  // namespace quorvel::cli
