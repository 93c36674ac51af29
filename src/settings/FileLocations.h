#pragma once
// Where the two files the program reads live. Both belong beside the program; a system-wide
// install cannot write there, so the settings then go to the user's configuration folder
// (%APPDATA%\Vireon\ on Windows), where a user may also put coefficients of their own.
#include <string>

namespace vireon {

inline constexpr const char* CoefficientFileName = "fir1.txt";
inline constexpr const char* SettingsFileName = "okaven.ini";

// What the choice asks of the file system; tests answer for it, since root passes every
// permission check on folders.
class FolderProbe {
public:
    virtual ~FolderProbe() = default;
    // Something other than a directory is there.
    virtual bool IsFile(const std::string& path) const = 0;
    // An existing file that may be rewritten (read-only counts even for root).
    virtual bool CanRewrite(const std::string& path) const = 0;
    // A new file may be made in the folder.
    virtual bool CanCreateIn(const std::string& folder) const = 0;
};

// The system's own answers, as they hold for this user: access(2) and stat(2) on Linux; on
// Windows the file opened for writing, and a file made in the folder (and gone at once), since
// its permissions say little without the folder's access list and the user's groups.
class SystemFolderProbe final : public FolderProbe {
public:
    bool IsFile(const std::string& path) const override;
    bool CanRewrite(const std::string& path) const override;
    bool CanCreateIn(const std::string& folder) const override;
};

// "$XDG_CONFIG_HOME/vireon/", or "$HOME/.config/vireon/" when that is unset, empty or not an
// absolute path; empty when neither is known. Either argument may be null.
std::string UserConfigFolder(const char* xdgConfigHome, const char* home);

// This user's folder for the program's files, ending in a path separator; empty when the system
// does not say. Linux: UserConfigFolder of $XDG_CONFIG_HOME and $HOME. Windows: "Vireon\" in the
// roaming application data folder (%APPDATA%).
std::string UserSettingsFolder();

struct FileLocations {
    std::string Settings;               // okaven.ini
    std::string Coefficients;           // fir1.txt
    bool SettingsInUserFolder = false;  // the folders may have to be made before saving
};

// Both folders end in a path separator; userFolder may be empty (no such folder). The settings
// stay beside the program while its folder takes new files, or while the file there may be
// rewritten; otherwise they go to the user's folder. A fir1.txt in the user's folder is taken
// in place of the one beside the program.
FileLocations ChooseFileLocations(const std::string& programFolder, const std::string& userFolder,
                                  const FolderProbe& probe);

// Makes the folder and any missing parents, private to the user as configuration folders are
// (on Windows the application data folder is already). Failures are left for the write that
// follows to report.
void CreateFolders(const std::string& folder);

}  // namespace vireon
