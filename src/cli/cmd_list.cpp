// quorvel-cli list SOURCE [--json]: the saves on a card, as a table or as one JSON object.
#include <cstdio>
#include <iostream>
#include <string>

#include "card/file_system.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

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

std::string JsonString(const std::string& bytes) {
  std::string text = "\"";
  for (char c : Utf8(bytes)) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      text += escaped;
    } else {
      text += c;
    }
  }
  return text + "\"";
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
    std::string name = save.name;
    for (char& c : name) {
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    char line[96];
    std::snprintf(line, sizeof line, "%4zu  %s  %5u  %6u  %s  %s  %5u  ", slot, Kind(save),
                  unsigned{save.first_block}, unsigned{save.size}, save.date.c_str(),
                  save.time.c_str(), unsigned{save.icon_count});
    std::cout << line << Utf8(name) << "  " << Utf8(save.description) << "\n";
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
  } else if (!formatted) {
    std::cout << source << ": the card is not formatted\n";
  } else {
    PrintTable(source, *card, user_blocks, free_blocks);
  }
  return sources.Finish();
}

const CommandRegistration kRegistration{"list", "SOURCE [--json]", &RunList};

}  // namespace
}  // namespace quorvel::cli
