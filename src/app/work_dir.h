// Where the desktop program keeps its settings and working files: the current directory
// (the default, for a start from a shell), the folder of --work-dir DIR, or with
// --user-work-dir (the menu entry's way) the user's data folder.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/program_options.h"

namespace quorvel {

struct WorkDirOptions {
  std::optional<std::string> dir;  // --work-dir DIR
  bool user = false;               // --user-work-dir
};

// The options of the working folder, for ParseProgramOptions.
inline constexpr std::array<OptionRule, 2> kWorkDirOptionRules = {
    {{"work-dir", true}, {"user-work-dir", false}}};

// What the working folder options do, for the program's help.
inline constexpr std::array<OptionHelp, 2> kWorkDirOptionHelp = {{
    {"--work-dir DIR",
     "keep the settings (DID2.cfg) and working files in DIR, created when missing, instead of "
     "the current directory"},
    {"--user-work-dir",
     "keep them in $XDG_DATA_HOME/quorvel (~/.local/share/quorvel), as the menu entry does"},
}};

// The working folder options among the parsed options. Nothing, with the reason in `error`,
// when both are given.
std::optional<WorkDirOptions> WorkDirOptionsFrom(const ProgramOptions& parsed, std::string& error);

// The user's data folder of the program: $XDG_DATA_HOME/quorvel when that is an absolute
// path, else ~/.local/share/quorvel. Empty when no home folder is known.
std::filesystem::path UserDataFolder();

// The WorkDir of the options, ending in the path separator: the current directory, or the
// chosen folder, created (with its parents) when missing. Nothing, with the reason in
// `error`, when the folder cannot be made.
std::optional<std::string> PrepareWorkDir(const WorkDirOptions& options, std::string& error);

}  // namespace quorvel
