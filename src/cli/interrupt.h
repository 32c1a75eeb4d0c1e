// Ctrl+C (SIGINT) and SIGTERM while quorvel-cli works on cards: the signal only asks the
// running card command to stop, and the command stops where the card is consistent.
#pragma once

#include <signal.h>

#include "card/cancel.h"

namespace quorvel::cli {

// The one request the signal handler sets.
CancelRequest& InterruptRequest();

// While one lives, SIGINT and SIGTERM set InterruptRequest() (and say once on stderr that the
// command stops at its next safe point; again, that it is still stopping) instead of ending the
// program, so that a second Ctrl+C does not cut a block or a put-back short either. A SIGINT
// that the program was started with ignored (a background job of a script) stays ignored.
// The handlers that were there before come back at its end.
class InterruptScope {
 public:
  InterruptScope();
  ~InterruptScope();
  InterruptScope(const InterruptScope&) = delete;
  InterruptScope& operator=(const InterruptScope&) = delete;

 private:
  struct sigaction old_int_ {};
  struct sigaction old_term_ {};
  bool int_installed_ = false;
};

}  // namespace quorvel::cli
