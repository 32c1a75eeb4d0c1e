// Folders that only this user may use (the hex editor's private folder, the journal of card
// writes): made with mode 0700 and never reached through a link planted at the name.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace quorvel {

// open(2) of `path` that never follows a link at its last component and retries when a
// signal interrupts it; the descriptor is closed on exec. -1 with errno set on failure.
int OpenNoFollow(const std::filesystem::path& path, int flags, mode_t mode = 0);

// Creates `folder` (mode 0700, with its parents) when missing and checks that it is a real
// folder, not a link, owned by this user, that nobody else may enter. False, with the reason
// in `error`, otherwise.
bool EnsureOwnFolder(const std::filesystem::path& folder, std::string& error);

}  // namespace quorvel
