// The POSIX half of settings/FileLocations.h: access(2), stat(2), mkdir(2) and the XDG folder.
#include "settings/FileLocations.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

namespace vireon {

bool SystemFolderProbe::CanRewrite(const std::string& path) const {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool SystemFolderProbe::CanCreateIn(const std::string& folder) const {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserSettingsFolder() {
    return UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

void CreateFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
}

}  // namespace vireon
