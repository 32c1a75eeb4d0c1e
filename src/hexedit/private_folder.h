// The private folder of the hex editor's working copies: $XDG_RUNTIME_DIR/quorvel, or
// quorvel-UID in the temporary directory, mode 0700 and never reached through a link. Each
// running program keeps its copies in a run folder of its own there, locked while it runs, so
// the copies that a killed run left behind are recognised and removed at the next start.
#pragma once

#include <filesystem>
#include <string>

namespace quorvel {

// The private folder for the current environment (not created).
std::filesystem::path PrivateFolderPath();

// The run folder of this process inside `private_folder`, created with the private folder on
// first use and kept until the process ends; the leftovers of dead runs are removed first.
// Empty, with the reason in `error`, when the private folder cannot be made safely (a link,
// someone else's folder, a folder others may enter).
std::filesystem::path RunFolder(const std::filesystem::path& private_folder, std::string& error);

// Removes the run folders in `private_folder` whose program no longer runs: the working
// copies in them (8 hexadecimal digits + ".QZH" + one letter) and their lock. Anything else
// is left alone, and so is a folder that holds it. Returns how many run folders went.
int RemoveLeftoverRunFolders(const std::filesystem::path& private_folder);

}  // namespace quorvel
