// Runs a check as an ordinary user, for tests of folders and files the program may not write:
// permissions do not bind the superuser, so as root the check runs in a child process that
// has given up the superuser's rights first.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace quorvel::testing {

// Exit code of a child that could not give up the superuser's rights.
inline constexpr int kCannotDropRights = 255;

// `check` returns 0 when it held, or a small number saying what failed; RunUnprivileged gives
// that number back (kCannotDropRights, or 256 + signal when the child died of a signal).
inline int RunUnprivileged(const std::function<int()>& check) {
  if (::geteuid() != 0) return check();
  const pid_t child = ::fork();
  if (child < 0) return kCannotDropRights;
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(kCannotDropRights);
    ::_exit(check());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return kCannotDropRights;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 256 + WTERMSIG(status);
}

}  // namespace quorvel::testing
