#include "settings/FileLocations.h"

#include <gtest/gtest.h>

#include <set>

namespace vireon {
namespace {

// The file system as a table: root passes every permission check on folders, so the test
// says what may be written instead of setting permission bits.
class TableProbe final : public FolderProbe {
public:
    std::set<std::string> files, rewritable, creatable;
    bool IsFile(const std::string& path) const override { return files.count(path) != 0; }
    bool CanRewrite(const std::string& path) const override { return rewritable.count(path) != 0; }
    bool CanCreateIn(const std::string& folder) const override {
        return creatable.count(folder) != 0;
    }
};

constexpr const char* Program = "/opt/vireon/";
constexpr const char* User = "/home/ham/.config/vireon/";

TEST(FileLocations, SettingsGoWhereTheyCanBeWrittenAndAUsersFilterWins) {
    enum Folder { Writable, ReadOnly };
    enum Ini { NoIni, WritableIni, ReadOnlyIni };
    struct Case {
        const char* name;
        const char* xdgConfigHome;
        const char* home;
        Folder folder;
        Ini ini;
        bool userFilter;
        std::string settings;
        std::string coefficients;
    };
    const std::string programIni = std::string(Program) + "okaven.ini";
    const std::string programFir = std::string(Program) + "fir1.txt";
    const std::string userIni = std::string(User) + "okaven.ini";
    const std::string userFir = std::string(User) + "fir1.txt";
    const Case cases[] = {
        {"portable install", nullptr, "/home/ham", Writable, NoIni, false, programIni, programFir},
        {"read-only ini in a writable folder stays", nullptr, "/home/ham", Writable, ReadOnlyIni,
         false, programIni, programFir},
        {"system install", nullptr, "/home/ham", ReadOnly, NoIni, false, userIni, programFir},
        {"system install, read-only ini", nullptr, "/home/ham", ReadOnly, ReadOnlyIni, false,
         userIni, programFir},
        {"writable ini in a read-only folder is rewritten", nullptr, "/home/ham", ReadOnly,
         WritableIni, false, programIni, programFir},
        {"user's filter", nullptr, "/home/ham", Writable, WritableIni, true, programIni, userFir},
        {"user's filter, system install", nullptr, "/home/ham", ReadOnly, NoIni, true, userIni,
         userFir},
        {"XDG_CONFIG_HOME", "/home/ham/.config", "/elsewhere", ReadOnly, NoIni, true, userIni,
         userFir},
        {"empty XDG_CONFIG_HOME", "", "/home/ham", ReadOnly, NoIni, false, userIni, programFir},
        {"relative XDG_CONFIG_HOME", "cfg", "/home/ham", ReadOnly, NoIni, false, userIni,
         programFir},
        {"no home at all", nullptr, nullptr, ReadOnly, NoIni, false, programIni, programFir},
    };
    for (const Case& c : cases) {
        TableProbe probe;
        if (c.folder == Writable) probe.creatable.insert(Program);
        if (c.ini != NoIni) probe.files.insert(programIni);
        if (c.ini == WritableIni) probe.rewritable.insert(programIni);
        probe.files.insert(programFir);
        if (c.userFilter) probe.files.insert(userFir);
        // The user's folder may not exist yet: nothing is asked of it but the filter file.
        const FileLocations files =
            ChooseFileLocations(Program, UserConfigFolder(c.xdgConfigHome, c.home), probe);
        EXPECT_EQ(files.Settings, c.settings) << c.name;
        EXPECT_EQ(files.Coefficients, c.coefficients) << c.name;
        EXPECT_EQ(files.SettingsInUserFolder, c.settings == userIni) << c.name;
    }
}

}  // namespace
}  // namespace vireon
