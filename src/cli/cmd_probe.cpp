// quorvel-cli probe: which unit answers on the link, its pages, which slots hold a card.
#include <iostream>

#include "app/unit_probe.h"
#include "cli/card_source.h"
#include "cli/cli_link.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunProbe(const Args& args) {
  RequirePositional(args, 0);
  StderrMessages messages;
  Settings settings;
  std::string error;
  const auto link = CliLink::Open(args, settings, messages, error, CardFileAccess::kRead);
  if (!link) return Fail(error);
  LinkSession& session = link->Session();
  if (session.Hardware() != nullptr && !session.Hardware()->IsOpen()) {
    std::cerr << "quorvel-cli: no unit answered: " << session.BackendText() << "\n";
    return kExitFailed;
  }
  const UnitProbe probe = ProbeUnit(link->Device());
  if (!probe.answered) {
    std::cerr << "quorvel-cli: no unit answered at " << PortAddressText(settings.base_port) << " ("
              << session.BackendText() << "): " << NoAnswerReason(probe) << "\n";
    return kExitFailed;
  }
  std::cout << "port: " << session.BackendText() << "\n" << DescribeUnit(probe);
  if (!link->Finish(error)) return Fail(error);
  return kExitOk;
}

const CommandRegistration kRegistration{
    "probe",
    "",
    &RunProbe,
    {},
    {"Says which link unit answers and which slots hold a card",
     "Says which unit answers on the link (the two-slot unit or a paged card), the pages of a "
     "paged card and which slots hold a card, or why no unit answered.",
     {},
     "quorvel-cli --virtual-unit cards probe"}};

}  // namespace
}  // namespace quorvel::cli
