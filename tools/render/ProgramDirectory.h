#pragma once
#include <string>

namespace vireon::render {

// The directory of the running program, ending in "/"; empty when it cannot be found.
std::string ProgramDirectory();

}  // namespace vireon::render
