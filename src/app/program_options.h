// The command-line options of both programs, read by one parser: "--name value" and
// "--name=value" alike, flags, "--" before arguments that begin with a dash, and a clear
// refusal of anything the program does not know.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One option a program accepts, named without its leading "--".
struct OptionRule {
  std::string_view name;
  bool takes_value = false;
};

// A command line split into its options and its other (positional) arguments, which keep
// their order.
struct ProgramOptions {
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> values;  // value options, without "--"
  std::set<std::string, std::less<>> flags;                // flags, without "--"

  bool Has(std::string_view flag) const { return flags.contains(flag); }
  std::optional<std::string> Value(std::string_view name) const;
};

// Splits `words` (the command line without the program's name). Options may stand anywhere.
// A value option takes the rest of its word after "=", or else the next word unless that
// begins with "--"; every word after a lone "--" is positional, and so is a lone "-".
// Refused, with the reason in `error`: a word beginning with "-" that names no option of
// `known`, a value option without a value (or with an empty one), a value given to a flag
// and a value option given twice.
std::optional<ProgramOptions> ParseProgramOptions(std::span<const std::string> words,
                                                  std::span<const OptionRule> known,
                                                  std::string& error);

// "--help": both programs print their usage on stdout and end with success.
inline constexpr OptionRule kHelpOption{"help", false};
// "--version": both programs print their name and version and end with success.
inline constexpr OptionRule kVersionOption{"version", false};

}  // namespace quorvel
