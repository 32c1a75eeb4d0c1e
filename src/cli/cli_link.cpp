// Opening the link for quorvel-cli commands.
#include "cli/cli_link.h"

#include <iostream>

#include "app/config.h"

namespace quorvel::cli {

std::unique_ptr<CliLink> CliLink::Open(const Args& args, Settings& settings, Messages& messages,
                                       std::string& error, CardFileAccess access) {
  ReadConfigIfPresent(CaptureWorkDir(), settings, messages);
  LinkOptions options{args.Value("virtual-unit"), args.Value("virtual-paged"), args.Value("trace"),
                      access};
  std::unique_ptr<CliLink> link(new CliLink());
  link->session_ = LinkSession::Open(options, settings, LinkHooks{}, error);
  if (!link->session_) return nullptr;
  link->print_stats_ = args.Has("stats");
  return link;
}

CliLink::~CliLink() {
  if (print_stats_ && session_) std::cerr << session_->StatsText() << "\n";
  std::string error;
  if (!Finish(error)) std::cerr << "quorvel-cli: " << error << "\n";
}

bool CliLink::Finish(std::string& error) {
  if (finished_ || !session_) return true;
  finished_ = true;
  return session_->Finish(error);
}

}  // namespace quorvel::cli
