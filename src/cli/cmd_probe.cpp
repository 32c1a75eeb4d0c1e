// quorvel-cli probe: which unit answers on the link, its pages, which slots hold a card.
#include <iostream>

#include "app/config.h"
#include "app/unit_probe.h"
#include "cli/command.h"
#include "link/link_device.h"
#include "port/real_port.h"

namespace quorvel::cli {
namespace {

// Notices from reading the configuration go to stderr; the probe asks no questions.
class StderrMessages : public Messages {
 public:
  void Inform(std::string_view text) override { std::cerr << "quorvel-cli: " << text << "\n"; }
  void Warn(std::string_view text) override { Inform(text); }
  bool AskYesNo(std::string_view) override { return false; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::kCancel; }
};

int RunProbe(const Args& args) {
  RequirePositional(args, 0);
  if (args.Value("virtual-unit") || args.Value("virtual-paged")) {
    std::cerr << "quorvel-cli: probe does not reach the virtual unit yet\n";
    return kExitFailed;
  }
  StderrMessages messages;
  Settings settings;
  ReadConfigIfPresent(CaptureWorkDir(), settings, messages);
  const auto port = OpenRealPort(settings.base_port);
  if (!port->IsOpen()) {
    std::cerr << "quorvel-cli: no unit answered: " << port->StatusText() << "\n";
    return kExitFailed;
  }
  LinkDevice link(*port, settings);
  link.EndTransaction();  // the control line idle, as at start-up
  const UnitProbe probe = ProbeUnit(link);
  if (!probe.answered) {
    std::cerr << "quorvel-cli: no unit answered at " << PortAddressText(settings.base_port) << " ("
              << port->StatusText() << "): " << NoAnswerReason(probe) << "\n";
    return kExitFailed;
  }
  std::cout << "port: " << port->StatusText() << "\n" << DescribeUnit(probe);
  return kExitOk;
}

const CommandRegistration kRegistration{"probe", "", &RunProbe};

}  // namespace
}  // namespace quorvel::cli
