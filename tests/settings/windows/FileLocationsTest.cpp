// Where the files go on Windows: the system's own answers for this user, %APPDATA%, and folders
// with any Unicode in their names.
#include "settings/FileLocations.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/TextFile.h"
#include "tests/support/TestFiles.h"
#include "tests/support/windows/WindowsFiles.h"

namespace vireon {
namespace {

using testing::PathOf;
using testing::ReadBytes;
using testing::SetAttributes;
using testing::TempDir;
using testing::WriteBytes;

TEST(SystemFolderProbe, AsksTheSystemWithoutChangingAnything) {
    TempDir dir;
    const SystemFolderProbe probe;
    EXPECT_TRUE(probe.CanCreateIn(dir.Path() + "\\"));
    EXPECT_TRUE(dir.Entries().empty()) << "the probe's file is gone";
    EXPECT_FALSE(probe.CanCreateIn(dir / "none\\"));

    // Asking about a file opens it for writing but leaves its bytes and time alone.
    const std::string ini = dir / "okaven.ini";
    WriteBytes(ini, "WindowTop=5\r\n");
    std::filesystem::last_write_time(
        PathOf(ini), std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
    const auto old = std::filesystem::last_write_time(PathOf(ini));  // as the disk keeps it
    EXPECT_TRUE(probe.CanRewrite(ini));
    EXPECT_EQ(ReadBytes(ini), "WindowTop=5\r\n");
    EXPECT_EQ(std::filesystem::last_write_time(PathOf(ini)), old);
    SetAttributes(ini, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(probe.CanRewrite(ini));
    SetAttributes(ini, FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(probe.CanRewrite(dir / "none.ini"));
    EXPECT_FALSE(probe.CanRewrite(dir.Path()));
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"okaven.ini"});

    // Program Files for a standard user: no new file, but the administrator's writable
    // okaven.ini may be rewritten, so the settings stay beside the program.
    const std::string locked = testing::LockedFolder();
    if (locked.empty()) GTEST_SKIP() << "no folder that refuses new files (with-locked-folder)";
    EXPECT_FALSE(probe.CanCreateIn(locked + "/"));
    EXPECT_TRUE(probe.CanRewrite(locked + "/okaven.ini"));
    const FileLocations files = ChooseFileLocations(locked + "/", dir.Path() + "\\", probe);
    EXPECT_EQ(files.Settings, locked + "/okaven.ini");
    EXPECT_FALSE(files.SettingsInUserFolder);
}

TEST(UserSettingsFolder, IsVireonInTheRoamingApplicationData) {
    const wchar_t* appData = ::_wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(UserSettingsFolder(), Narrow(appData) + "\\Vireon\\");
}

// The first save in %APPDATA%\Vireon\ makes the folder, whatever the user's name.
TEST(CreateFolders, MakesEveryMissingFolderOfAUnicodePath) {
    TempDir dir;
    const std::string folder = dir.Path() + "\\J\xC3\xBCrgen\\Funk\\Vireon\\";
    CreateFolders(folder);
    CreateFolders(folder);  // once there, nothing changes
    EXPECT_TRUE(std::filesystem::is_directory(PathOf(folder)));
    WriteLines(folder + SettingsFileName, {"WindowTop=1"});
    EXPECT_EQ(ReadBytes(folder + SettingsFileName), "WindowTop=1\r\n");
}

}  // namespace
}  // namespace vireon
