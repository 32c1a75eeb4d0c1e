// Advisory locks (flock) on card files, so that two programs never work on one card at once,
// and the test that keeps every output from replacing a card file some program holds open.
#pragma once

#include <filesystem>

namespace quorvel {

enum class LockKind {
  kShared,     // the holder only reads: others may read too
  kExclusive,  // the holder may write: nobody else may use the file
};

// Takes the lock on the open file `fd` without waiting. False when another open file of the
// same file (in this program or another) holds a lock that conflicts; a file system without
// locks counts as locked by nobody.
bool LockOpenFile(int fd, LockKind kind);

// True when `path` names (through any links) an existing file that a program, this one
// included, holds locked as a card file: writing over it would change a card in use.
bool FileInUse(const std::filesystem::path& path);

}  // namespace quorvel
