// quorvel-cli check SOURCE: the consistency report of root, FAT chains and directory. Notes
// (what the console ignores) are printed but are not problems.
#include <iostream>

#include "card/card_check.h"
#include "cli/card_source.h"
#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunCheck(const Args& args) {
  RequirePositional(args, 1);
  const std::string& source = args.positional[0];
  CardSources sources(args, ImageAccess::kRead);
  std::string error;
  LoadResult loaded;
  CardImage* card = sources.Open(source, loaded, error);
  if (card == nullptr) return sources.Fail(error);
  std::vector<std::string> problems;
  for (const CardFinding& finding : InspectCard(*card)) {
    if (finding.kind == CardFinding::Kind::kNote) {
      std::cout << source << ": note: " << finding.text << "\n";
    } else {
      std::cout << source << ": " << finding.text << "\n";
      problems.push_back(finding.text);
    }
  }
  if (problems.empty()) {
    std::cout << source << ": no problems found\n";
    return sources.Finish();
  }
  std::cerr << "quorvel-cli: " << source << ": " << problems.size()
            << (problems.size() == 1 ? " problem" : " problems") << " found\n";
  return kExitFailed;
}

const CommandRegistration kRegistration{
    "check",
    "SOURCE",
    &RunCheck,
    {},
    {"Checks the root block, FAT chains and directory of a card",
     "Checks the card's root block, FAT chains and directory against each other and prints one "
     "line per problem; notes (what the console ignores) are printed too but are not problems. "
     "Exits with 1 when it finds a problem.",
     {},
     "quorvel-cli check backup.dcm"}};

}  // namespace
}  // namespace quorvel::cli
