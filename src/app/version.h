// The version of both programs, as their --version prints it; set once, in the build.
#pragma once

#include <string_view>

namespace quorvel {

std::string_view ProgramVersion();

}  // namespace quorvel
