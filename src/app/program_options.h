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

// One option as a help text shows it: its form ("--blocks 200|240|241") and what it does.
struct OptionHelp {
  std::string_view form;
  std::string_view text;
};

// Help lines for `options`: each form indented by two blanks in one column, its text beside
// it, wrapped to fit 80 columns (a form too wide for the column puts its text on the next
// line).
std::string FormatOptionHelp(std::span<const OptionHelp> options);

// Whether `help` has a line for the option `name` (its form is "--name", alone or followed by
// a blank).
bool DescribesOption(std::span<const OptionHelp> help, std::string_view name);

// `text` wrapped at blanks to lines of at most `width` characters (a longer word stands alone),
// for a line already filled up to column `indent`: each further line is indented by `indent`
// blanks, and every line ends in a newline.
std::string WrapText(std::string_view text, std::size_t indent, std::size_t width = 80);

// "--help": both programs print their usage on stdout and end with success.
inline constexpr OptionRule kHelpOption{"help", false};
// "--version": both programs print their name and version and end with success.
inline constexpr OptionRule kVersionOption{"version", false};

}  // namespace quorvel
