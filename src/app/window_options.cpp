// Reading the desktop program's command line.
#include "app/window_options.h"

namespace quorvel {

namespace {

constexpr OptionRule kLanguageOption{"lang", true};

}  // namespace

std::vector<OptionRule> WindowOptionRules() {
  std::vector<OptionRule> known(kLinkOptionRules.begin(), kLinkOptionRules.end());
  known.insert(known.end(), kWorkDirOptionRules.begin(), kWorkDirOptionRules.end());
  known.push_back(kHelpOption);
  known.push_back(kVersionOption);
  known.push_back(kLanguageOption);
  return known;
}

std::span<const OptionHelp> WindowOptionHelp() {
  static const std::vector<OptionHelp> help = [] {
    std::vector<OptionHelp> all(kLinkOptionHelp.begin(), kLinkOptionHelp.end());
    all.insert(all.end(), kWorkDirOptionHelp.begin(), kWorkDirOptionHelp.end());
    all.push_back({"--help", "print this help and exit"});
    all.push_back({"--version", "print the program's version and exit"});
    all.push_back(
        {"--lang zh_TW|en",
         "the language of the window (default: Chinese for a zh_* locale, else English)"});
    all.push_back({"FILE", "a file the hex editor window opens the first time it is shown"});
    return all;
  }();
  return help;
}

std::string WindowHelp() {
  std::string text(kWindowUsage);
  text += "\n\n";
  text += WrapText(
      "Shows the memory cards (VMUs) of a link unit on the parallel port, or one paged card, "
      "beside an open card image file (DCM), and copies, moves, backs up, restores and edits "
      "their saves. Without hardware, --virtual-unit gives two cards kept in image files.",
      0);
  text += "\noptions:\n";
  text += FormatOptionHelp(WindowOptionHelp());
  text += "\nquorvel-cli does the same card operations from a shell; see quorvel(1).\n";
  return text;
}

std::optional<WindowOptions> ParseWindowOptions(const std::vector<std::string>& words,
                                                std::string& error) {
  const std::vector<OptionRule> known = WindowOptionRules();
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
