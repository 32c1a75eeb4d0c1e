// The version comes from the build (the project's version in CMakeLists.txt).
#include "app/version.h"

namespace quorvel {

std::string_view ProgramVersion() { return QUORVEL_VERSION; }

}  // namespace quorvel
