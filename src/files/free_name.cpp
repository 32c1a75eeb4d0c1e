#include "files/free_name.h"

#include <algorithm>

namespace quorvel {

std::filesystem::path FreeFileName(
    const std::filesystem::path& folder, const std::string& stem, const std::string& extension,
    std::size_t longest_stem, const std::function<bool(const std::filesystem::path&)>& also_taken) {
  std::error_code error;
  for (int n = 1;; ++n) {
    std::string suffix;
    if (n > 1) {
      suffix = "_";
      suffix += std::to_string(n);
    }
    const std::size_t room = longest_stem - std::min(longest_stem, suffix.size());
    const std::filesystem::path path =
        folder / (stem.substr(0, std::min(stem.size(), room)) + suffix + extension);
    const bool taken = std::filesystem::exists(std::filesystem::symlink_status(path, error)) ||
                       (also_taken && also_taken(path));
    if (!taken) return path;
  }
}

}  // namespace quorvel
