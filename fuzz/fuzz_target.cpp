// The registry of fuzz targets and the failure report shared by every target.
#include "fuzz_target.h"

#include <cstdio>
#include <cstdlib>

namespace quorvel::fuzz {
namespace {

std::vector<Target>& MutableTargets() {
  static std::vector<Target> targets;
  return targets;
}

}  // namespace

const std::vector<Target>& Targets() { return MutableTargets(); }

Registration::Registration(const Target& target) { MutableTargets().push_back(target); }

void Fail(std::string_view what) {
  std::fprintf(stderr, "fuzz property failed: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

}  // namespace quorvel::fuzz
