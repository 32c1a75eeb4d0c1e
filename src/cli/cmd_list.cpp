// quorvel-cli list SOURCE [--json]: the saves on a card, as a table or as one JSON object; a
// card that is not formatted is a failure (the JSON object still says "formatted": false).
#include <cstdio>
#include <iostream>
#include <string>

#include "card/file_system.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

// True for a byte whose character of the same number is a control character (C0, DEL, C1):
// written to a terminal as it is, it could move the cursor or change the terminal's state.
bool IsControl(unsigned char byte) { return byte < 0x20 || (byte >= 0x7F && byte < 0xA0); }

// Each byte becomes the Unicode character of the same number, written as UTF-8.
std::string Utf8(const std::string& bytes) {
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

// A JSON string of the bytes as Unicode characters; control characters are escaped, so the
// text stays valid JSON and carries no control byte to a terminal.
std::string JsonString(const std::string& bytes) {
  std::string text = "\"";
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (IsControl(byte)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      text += escaped;
    } else {
      text += Utf8(std::string(1, c));
    }
  }
  return text + "\"";
}

// The bytes for a terminal: zero padding as blanks, every other control character as '.'.
std::string TerminalText(const std::string& bytes) {
  std::string shown = bytes;
  for (char& c : shown) {
    if (c == '\0') {
      c = ' ';
    } else if (IsControl(static_cast<unsigned char>(c))) {
      c = '.';
    }
  }
  return Utf8(shown);
}

const char* Kind(const SaveRecord& save) { return save.header_in_second_block ? "game" : "data"; }

void PrintJson(const CardImage& card, bool formatted, unsigned user_blocks, unsigned free_blocks) {
  std::cout << "{\"user_blocks\":" << user_blocks << ",\"free_blocks\":" << free_blocks
            << ",\"formatted\":" << (formatted ? "true" : "false") << ",\"saves\":[";
  for (int k = 0; k < card.listed_count; ++k) {
    const std::size_t slot = card.list_order[k];
    const SaveRecord& save = card.records[slot];
    std::cout << (k == 0 ? "" : ",") << "{\"slot\":" << slot
              << ",\"name\":" << JsonString(save.name) << ",\"kind\":\"" << Kind(save)
              << "\",\"first_block\":" << unsigned{save.first_block} << ",\"blocks\":" << save.size
              << ",\"date\":" << JsonString(save.date) << ",\"time\":" << JsonString(save.time)
              << ",\"description\":" << JsonString(save.description)
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
    std::cout << line << TerminalText(save.name) << "  " << TerminalText(save.description) << "\n";
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

const CommandRegistration kRegistration{"list", "SOURCE [--json]", &RunList, {{"json", false}}};

}  // namespace
}  // namespace quorvel::cli
