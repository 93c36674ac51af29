#pragma once
// vireon-render's whole run, the same on every system; each system's main (linux/main.cpp,
// windows/main.cpp) hands it the arguments as UTF-8.
#include <string>
#include <vector>

namespace vireon::render {

// args: the arguments after the program's name. showProgress: standard error is a terminal
// that can show the progress line. Returns the exit status: 0, 1 on failure, 2 for a wrong
// command line.
int RenderMain(const std::vector<std::string>& args, bool showProgress);

}  // namespace vireon::render
