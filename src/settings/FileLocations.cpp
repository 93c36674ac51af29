#include "settings/FileLocations.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/TextFile.h"

namespace vireon {

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

}  // namespace

bool SystemFolderProbe::IsFile(const std::string& path) const {
    return FileExists(path);
}

bool SystemFolderProbe::CanRewrite(const std::string& path) const {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

bool SystemFolderProbe::CanCreateIn(const std::string& folder) const {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserConfigFolder(const char* xdgConfigHome, const char* home) {
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (IsAbsolute(xdgConfigHome)) return std::string(xdgConfigHome) + "/vireon/";
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/vireon/";
    return {};
}

FileLocations ChooseFileLocations(const std::string& programFolder, const std::string& userFolder,
                                  const FolderProbe& probe) {
    FileLocations files{programFolder + SettingsFileName, programFolder + CoefficientFileName,
                        false};
    if (userFolder.empty()) return files;
    if (!probe.CanCreateIn(programFolder) && !probe.CanRewrite(files.Settings)) {
        files.Settings = userFolder + SettingsFileName;
        files.SettingsInUserFolder = true;
    }
    if (probe.IsFile(userFolder + CoefficientFileName))
        files.Coefficients = userFolder + CoefficientFileName;
    return files;
}

void CreateFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
}

}  // namespace vireon
