// Reading the desktop program's command line.
#include "app/window_options.h"

namespace quorvel {

namespace {

constexpr OptionRule kLanguageOption{"lang", true};

}  // namespace

std::optional<WindowOptions> ParseWindowOptions(const std::vector<std::string>& words,
                                                std::string& error) {
  std::vector<OptionRule> known(kLinkOptionRules.begin(), kLinkOptionRules.end());
  known.insert(known.end(), kWorkDirOptionRules.begin(), kWorkDirOptionRules.end());
  known.push_back(kHelpOption);
  known.push_back(kVersionOption);
  known.push_back(kLanguageOption);
  const std::optional<ProgramOptions> parsed = ParseProgramOptions(words, known, error);
  if (!parsed) return std::nullopt;
  WindowOptions options;
  if (parsed->positional.size() > 1) {
    error = "one file at most, not " + std::to_string(parsed->positional.size());
    return std::nullopt;
  }
  if (!parsed->positional.empty()) options.file = parsed->positional.front();
  std::optional<LinkOptions> link = LinkOptionsFrom(*parsed, error);
  if (!link) return std::nullopt;
  options.link = std::move(*link);
  std::optional<WorkDirOptions> work_dir = WorkDirOptionsFrom(*parsed, error);
  if (!work_dir) return std::nullopt;
  options.work_dir = std::move(*work_dir);
  if (const std::optional<std::string> lang = parsed->Value(kLanguageOption.name)) {
    options.language = LanguageNamed(*lang);
    if (!options.language) {
      error = "--lang takes zh_TW or en, not " + *lang;
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace quorvel
