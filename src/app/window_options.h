// The options of the desktop program: the link options, the working folder and at most one
// file, which the hex editor window opens when it is first shown.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/language.h"
#include "app/link_setup.h"
#include "app/work_dir.h"

namespace quorvel {

struct WindowOptions {
  LinkOptions link;
  WorkDirOptions work_dir;
  std::optional<std::string> file;
  std::optional<Language> language;  // --lang; the locale decides without it
};

// The usage of the desktop program, printed with --help and after bad usage.
inline constexpr std::string_view kWindowUsage =
    "usage: quorvel [--virtual-unit DIR | --virtual-paged FILE] [--trace FILE]\n"
    "               [--work-dir DIR | --user-work-dir] [--lang zh_TW|en] [--] [FILE]\n"
    "       quorvel --help | --version";

// The options the desktop program knows.
std::vector<OptionRule> WindowOptionRules();

// What each option of the desktop program does, in the order --help lists them.
std::span<const OptionHelp> WindowOptionHelp();

// The text of --help: the usage, what the program is for and what each option does.
std::string WindowHelp();

// Reads the command line (without the program's name). Nothing, with the reason in `error`,
// for an unknown option, a missing value, both virtual units, both working folder options or
// more than one file, and a --lang other than zh_TW or en. --help and --version are known, but
// answered before the window system starts.
std::optional<WindowOptions> ParseWindowOptions(const std::vector<std::string>& words,
                                                std::string& error);

}  // namespace quorvel
