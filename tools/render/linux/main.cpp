// vireon-render's entry on Linux: the arguments are the bytes of file names as given.
#include <unistd.h>

#include "tools/render/RenderMain.h"

int main(int argc, char** argv) {
    return vireon::render::RenderMain(std::vector<std::string>(argv + 1, argv + argc),
                                      ::isatty(STDERR_FILENO) == 1);
}
