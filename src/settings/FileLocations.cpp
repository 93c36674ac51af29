// Where the files are, chosen the same way on every system.
#include "settings/FileLocations.h"

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

}  // namespace vireon
