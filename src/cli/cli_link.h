// The link for quorvel-cli commands: the configuration in the current folder, the global
// options --virtual-unit, --virtual-paged and --trace, and --stats at the end.
#pragma once

#include <memory>
#include <string>

#include "app/link_setup.h"
#include "app/settings.h"
#include "cli/command.h"
#include "host/messages.h"

namespace quorvel::cli {

class CliLink {
 public:
  // Reads "DID2.cfg" from the current folder into `settings` when it is there (never
  // creating it; notices go to `messages`), then opens the link the options name.
  // `settings` must outlive the link. Null, with the reason in `error`, when it cannot.
  // With CardFileAccess::kRead the virtual unit's card files are only read.
  static std::unique_ptr<CliLink> Open(const Args& args, Settings& settings, Messages& messages,
                                       std::string& error,
                                       CardFileAccess access = CardFileAccess::kReadWrite);
  // With --stats, prints the link counters on stderr; then says on stderr what Finish() would
  // have said, when nobody asked.
  ~CliLink();
  CliLink(const CliLink&) = delete;
  CliLink& operator=(const CliLink&) = delete;

  LinkDevice& Device() { return session_->Device(); }
  LinkSession& Session() { return *session_; }
  // Keeps the trace and reads the virtual unit's file errors (LinkSession::Finish), once: a
  // false here fails the command.
  bool Finish(std::string& error);

 private:
  CliLink() = default;

  std::unique_ptr<LinkSession> session_;
  bool print_stats_ = false;
  bool finished_ = false;
};

}  // namespace quorvel::cli
