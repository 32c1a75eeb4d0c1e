// Splitting a command line into options and positional arguments.
#include "app/program_options.h"

#include <algorithm>

namespace quorvel {
namespace {

const OptionRule* FindSpec(std::span<const OptionRule> known, std::string_view name) {
  const auto it = std::find_if(known.begin(), known.end(),
                               [name](const OptionRule& rule) { return rule.name == name; });
  return it == known.end() ? nullptr : &*it;
}

}  // namespace

std::optional<std::string> ProgramOptions::Value(std::string_view name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::optional<ProgramOptions> ParseProgramOptions(std::span<const std::string> words,
                                                  std::span<const OptionRule> known,
                                                  std::string& error) {
  ProgramOptions options;
  bool only_positional = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (only_positional || word == "-" || !word.starts_with('-')) {
      options.positional.push_back(word);
      continue;
    }
    if (word == "--") {
      only_positional = true;
      continue;
    }
    if (!word.starts_with("--")) {
      error = "unknown option " + word + " (put -- before arguments that begin with a dash)";
      return std::nullopt;
    }
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(2, equals == std::string::npos ? equals : equals - 2);
    const OptionRule* rule = FindSpec(known, name);
    if (rule == nullptr) {
      error = "unknown option --" + name;
      return std::nullopt;
    }
    if (!rule->takes_value) {
      if (equals != std::string::npos) {
        error = "option --" + name + " takes no value";
        return std::nullopt;
      }
      options.flags.insert(name);
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = word.substr(equals + 1);
    } else if (i + 1 < words.size() && !words[i + 1].starts_with("--")) {
      value = words[++i];
    }
    if (value.empty()) {
      error = "option --" + name + " needs a value";
      return std::nullopt;
    }
    if (!options.values.emplace(name, std::move(value)).second) {
      error = "option --" + name + " is given more than once";
      return std::nullopt;
    }
  }
  return options;
}

std::string WrapText(std::string_view text, std::size_t indent, std::size_t width) {
  std::string wrapped;
  std::size_t column = indent;  // the first line continues one filled up to `indent`
  bool line_empty = true;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    if (!line_empty && column + 1 + word.size() > width) {
      wrapped += '\n';
      wrapped.append(indent, ' ');
      column = indent;
      line_empty = true;
    }
    if (!line_empty) {
      wrapped += ' ';
      ++column;
    }
    wrapped += word;
    column += word.size();
    line_empty = false;
  }
  return wrapped + '\n';
}

std::string FormatOptionHelp(std::span<const OptionHelp> options) {
  constexpr std::size_t kIndent = 2;
  constexpr std::size_t kMaxColumn = 26;
  std::size_t column = 0;
  for (const OptionHelp& option : options) {
    const std::size_t wanted = kIndent + option.form.size() + 2;
    if (wanted <= kMaxColumn) column = std::max(column, wanted);
  }
  std::string lines;
  for (const OptionHelp& option : options) {
    std::string line(kIndent, ' ');
    line += option.form;
    if (line.size() + 2 > column) {
      lines += line + '\n';
      line.clear();
    }
    line.resize(column, ' ');
    lines += line;
    lines += WrapText(option.text, column);
  }
  return lines;
}

bool DescribesOption(std::span<const OptionHelp> help, std::string_view name) {
  return std::any_of(help.begin(), help.end(), [name](const OptionHelp& option) {
    const std::string_view form = option.form;
    return form.starts_with("--") && form.substr(2).starts_with(name) &&
           (form.size() == name.size() + 2 || form[name.size() + 2] == ' ');
  });
}

}  // namespace quorvel
