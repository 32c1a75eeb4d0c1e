// The desktop program's working folder from its options and the XDG base directories.
#include "app/work_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "app/config.h"

namespace quorvel {

std::optional<WorkDirOptions> WorkDirOptionsFrom(const ProgramOptions& parsed, std::string& error) {
  WorkDirOptions options{parsed.Value("work-dir"), parsed.Has("user-work-dir")};
  if (options.dir && options.user) {
    error = "--work-dir and --user-work-dir cannot be used together";
    return std::nullopt;
  }
  return options;
}

std::filesystem::path UserDataFolder() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && data_home[0] == '/') {
    return std::filesystem::path(data_home) / "quorvel";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = ::getpwuid(::getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] != '/') return {};
  return std::filesystem::path(home) / ".local" / "share" / "quorvel";
}

std::optional<std::string> PrepareWorkDir(const WorkDirOptions& options, std::string& error) {
  if (!options.dir && !options.user) return CaptureWorkDir();
  std::error_code code;
  std::filesystem::path folder;
  if (options.user) {
    folder = UserDataFolder();
    if (folder.empty()) {
      error = "no home folder is known for the user's data folder";
      return std::nullopt;
    }
  } else {
    folder = std::filesystem::absolute(*options.dir, code);
    if (code) {
      error = *options.dir + ": " + code.message();
      return std::nullopt;
    }
  }
  std::filesystem::create_directories(folder, code);
  if (code || !std::filesystem::is_directory(folder, code)) {
    error = folder.string() + ": " + (code ? code.message() : "not a folder");
    return std::nullopt;
  }
  std::string dir = folder.lexically_normal().string();
  EnsureTrailingSeparator(dir);
  return dir;
}

}  // namespace quorvel
