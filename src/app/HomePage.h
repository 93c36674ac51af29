#pragma once
// The page "Author's Web site" opens.
#include <string>

namespace vireon {

// The address given at build time (VIREON_HOME_PAGE), else README.html in the program's
// directory: the build writes it beside the program, and an install links it to the README in
// the documentation folder. programDirectory ends in a path separator.
std::string HomePageUrl(const std::string& programDirectory);

}  // namespace vireon
