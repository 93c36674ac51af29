#include "app/HomePage.h"

#include <cstdio>
#include <string_view>

namespace vireon {

namespace {

// A file name as a file: URL. Separators become "/", and every byte but the unreserved ones and
// those a path may hold as they are is percent-encoded (UTF-8 names byte for byte), so that a
// folder name with spaces, '#' or '%' still names the file.
std::string FileUrl(const std::string& path) {
    std::string url = "file://";
    if (path.empty() || (path[0] != '/' && path[0] != '\\')) url += '/';  // "C:/..." on Windows
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("-._~!$&'()*+,;=:@/").find(c) != std::string_view::npos;
        if (c == '\\') {
            url += '/';
        } else if (plain) {
            url += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            url += escaped;
        }
    }
    return url;
}

}  // namespace

std::string HomePageUrl(const std::string& programDirectory) {
#ifdef VIREON_HOME_PAGE
    (void)programDirectory;
    return VIREON_HOME_PAGE;
#else
    return FileUrl(programDirectory + "README.html");
#endif
}

}  // namespace vireon
