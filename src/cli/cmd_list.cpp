// quorvel-cli list SOURCE [--json]: the saves on a card, as a table or as one JSON object; a
// card that is not formatted is a failure (the JSON object still says "formatted": false).
#include <cstdio>
#include <iostream>
#include <string>

#include "card/file_system.h"
#include "card/save_texts.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// Each byte becomes the Unicode character of the same number, written as UTF-8.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string text;
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += static_cast<char>(byte);
    } else {
      text += static_cast<char>(0xC0 | byte >> 6);
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

// The length of the control character (C0, DEL, or C1 as U+0080 to U+009F) that starts at
// `i` of the UTF-8 text, 0 when none does: written to a terminal as it is, it could move the
// cursor or change the terminal's state.
std::size_t ControlAt(const std::string& utf8, std::size_t i, unsigned& code) {
  const auto byte = static_cast<unsigned char>(utf8[i]);
  if (byte < 0x20 || byte == 0x7F) {
    code = byte;
    return 1;
  }
  if (byte == 0xC2 && i + 1 < utf8.size()) {
    const auto next = static_cast<unsigned char>(utf8[i + 1]);
    if (next >= 0x80 && next < 0xA0) {
      code = next;
      return 2;
    }
  }
  return 0;
}

// A JSON string of UTF-8 text; control characters are escaped, so the text stays valid JSON
// and carries no control byte to a terminal.
std::string JsonString(const std::string& utf8) {
  std::string text = "\"";
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned code = 0;
    if (const std::size_t length = ControlAt(utf8, i, code)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
      text += escaped;
      i += length;
      continue;
    }
    if (utf8[i] == '"' || utf8[i] == '\\') text += '\\';
    text += utf8[i++];
  }
  return text + "\"";
}

// UTF-8 text for a terminal: zero padding as blanks, every other control character as '.'.
std::string TerminalText(const std::string& utf8) {
  std::string shown;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned code = 0;
    if (const std::size_t length = ControlAt(utf8, i, code)) {
      shown += code == 0 ? ' ' : '.';
      i += length;
    } else {
      shown += utf8[i++];
    }
  }
  return shown;
}

const char* Kind(const SaveRecord& save) { return save.header_in_second_block ? "game" : "data"; }

void PrintJson(const CardImage& card, bool formatted, unsigned user_blocks, unsigned free_blocks) {
  std::cout << "{\"user_blocks\":" << user_blocks << ",\"free_blocks\":" << free_blocks
            << ",\"formatted\":" << (formatted ? "true" : "false") << ",\"saves\":[";
  for (int k = 0; k < card.listed_count; ++k) {
    const std::size_t slot = card.list_order[k];
    const SaveRecord& save = card.records[slot];
    std::cout << (k == 0 ? "" : ",") << "{\"slot\":" << slot
              << ",\"name\":" << JsonString(Latin1ToUtf8(TrimPadding(save.name)))
              << ",\"name_raw\":\"" << HexBytes(save.name) << "\",\"kind\":\"" << Kind(save)
              << "\",\"first_block\":" << unsigned{save.first_block} << ",\"blocks\":" << save.size
              << ",\"date\":" << JsonString(save.date) << ",\"time\":" << JsonString(save.time)
              << ",\"description_vmu\":" << JsonString(ShortDescription(save))
              << ",\"description\":" << JsonString(LongDescription(save))
              << ",\"icons\":" << save.icon_count << "}";
  }
  std::cout << "]}\n";
}

void PrintTable(const std::string& source, const CardImage& card, unsigned user_blocks,
                unsigned free_blocks) {
  std::cout << source << ": " << user_blocks << " user blocks, " << free_blocks << " free, "
            << unsigned{card.listed_count} << " saves\n";
  if (card.listed_count == 0) return;
  std::cout << "slot  kind  first  blocks  date        time      icons  name          "
               "description\n";
  for (int k = 0; k < card.listed_count; ++k) {
    const std::size_t slot = card.list_order[k];
    const SaveRecord& save = card.records[slot];
    char line[96];
    std::snprintf(line, sizeof line, "%4zu  %s  %5u  %6u  %s  %s  %5u  ", slot, Kind(save),
                  unsigned{save.first_block}, unsigned{save.size}, save.date.c_str(),
                  save.time.c_str(), unsigned{save.icon_count});
    std::cout << line << TerminalText(Latin1ToUtf8(save.name)) << "  "
              << TerminalText(ShownDescription(save)) << "\n";
  }
}

int RunList(const Args& args) {
  RequirePositional(args, 1);
  const std::string& source = args.positional[0];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  LoadResult loaded;
  CardImage* card = sources.Open(source, loaded, error);
  if (card == nullptr) return sources.Fail(error);
  const bool formatted = loaded == LoadResult::kLoaded;
  const unsigned user_blocks = formatted ? UserBlockCount(*card) : 0;
  const unsigned free_blocks = formatted ? UpdateListing(*card) : 0;
  if (args.Has("json")) {
    PrintJson(*card, formatted, user_blocks, free_blocks);
  } else if (formatted) {
    PrintTable(source, *card, user_blocks, free_blocks);
  }
  if (!formatted) {
    return sources.Fail(source + ": not a formatted card (" + UnformattedReason(*card) + ")");
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{
    "list",
    "SOURCE [--json]",
    &RunList,
    {{"json", false}},
    {"Lists the saves of a card and its free blocks",
     "Lists the card's saves in directory order (entry, name, kind, first block, blocks, date "
     "and time, description) and the free blocks the program shows. A card that is not "
     "formatted is a failure.",
     {{"--json",
       "print one JSON object: user_blocks, free_blocks, formatted and saves, each with slot, "
       "name, name_raw, kind, first_block, blocks, date, time, description_vmu, description and "
       "icons"}},
     "quorvel-cli list slot1 --json"}};

}  // namespace
}  // namespace quorvel::cli
