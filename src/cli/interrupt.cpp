// The signal handler of quorvel-cli's card commands: it stores the request and writes a fixed
// line, both async-signal-safe.
#include "cli/interrupt.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace quorvel::cli {
namespace {

// Initialised before main, so that the handler never constructs anything.
constinit CancelRequest request;
constinit std::atomic<int> signals_seen{0};

void WriteLine(const char* text, std::size_t size) {
  const ssize_t ignored = ::write(STDERR_FILENO, text, size);
  (void)ignored;
}

void OnInterrupt(int) {
  const int saved_errno = errno;
  InterruptRequest().Request();
  static constexpr char kFirst[] =
      "\nquorvel-cli: stopping at the next point where the card is consistent...\n";
  static constexpr char kAgain[] =
      "\nquorvel-cli: still stopping; a block or the card's put-back is not cut short\n";
  if (signals_seen.fetch_add(1, std::memory_order_relaxed) == 0) {
    WriteLine(kFirst, sizeof kFirst - 1);
  } else {
    WriteLine(kAgain, sizeof kAgain - 1);
  }
  errno = saved_errno;
}

}  // namespace

CancelRequest& InterruptRequest() { return request; }

InterruptScope::InterruptScope() {
  struct sigaction action {};
  action.sa_handler = &OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a file or port access in progress goes on undisturbed
  struct sigaction current {};
  if (::sigaction(SIGINT, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
    int_installed_ = ::sigaction(SIGINT, &action, &old_int_) == 0;
  }
  ::sigaction(SIGTERM, &action, &old_term_);
}

InterruptScope::~InterruptScope() {
  if (int_installed_) ::sigaction(SIGINT, &old_int_, nullptr);
  ::sigaction(SIGTERM, &old_term_, nullptr);
}

}  // namespace quorvel::cli
