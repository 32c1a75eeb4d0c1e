// quorvel-cli check SOURCE: the consistency report of root, FAT chains and directory.
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
  const std::vector<std::string> problems = CheckCard(*card);
  for (const std::string& problem : problems) std::cout << source << ": " << problem << "\n";
  if (problems.empty()) {
    std::cout << source << ": no problems found\n";
    return sources.Finish();
  }
  std::cerr << "quorvel-cli: " << source << ": " << problems.size()
            << (problems.size() == 1 ? " problem" : " problems") << " found\n";
  return kExitFailed;
}

const CommandRegistration kRegistration{"check", "SOURCE", &RunCheck};

}  // namespace
}  // namespace quorvel::cli
