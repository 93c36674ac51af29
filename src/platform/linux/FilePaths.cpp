#include "platform/FilePaths.h"

#include <unistd.h>
#include <climits>

namespace vireon {

std::string_view PathSeparators() {
    return "/";
}

bool SameFileName(std::string_view a, std::string_view b) {
    return a == b;
}

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos) return {};
    return exe.substr(0, slash + 1);
}

}  // namespace vireon
