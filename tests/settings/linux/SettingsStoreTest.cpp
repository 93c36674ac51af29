// What the settings file does on POSIX systems: permissions, full disks.
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "platform/Errors.h"
#include "tests/settings/SettingsFileFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/linux/PosixFiles.h"

namespace vireon {
namespace {

using testing::ManyLines;
using testing::ModeOf;
using testing::ReadBytes;
using testing::RunInChild;
using testing::WriteBytes;

TEST_F(SettingsFile, UnreadableFileFailsAndFillsNothing) {
    WriteBytes(path, "WindowTop=5\r\n");
    ::chmod(path.c_str(), 0000);
    ::chmod(dir.Path().c_str(), 0755);
    // Root reads a 0000 file, so the check runs as an ordinary user.
    auto child = RunInChild([&]() -> std::string {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return "skip";
        SettingsStore store;
        Placement values;
        Prepare(store, values);
        try {
            store.Load();
            return "loaded";
        } catch (const FileOpenError& e) {
            return std::string(e.what()) + (values == Placement{} ? "" : " (values filled)");
        }
    });
    if (child.output == "skip") GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(child.output, "Cannot open file " + path);
}

TEST_F(SettingsFile, ReadOnlyFileRefusesTheSaveEvenForRoot) {
    const std::string old = "WindowTop=5\r\nNote=mine\r\n";
    WriteBytes(path, old);
    ::chmod(path.c_str(), 0444);
    SettingsStore store;
    Placement values;
    Prepare(store, values);
    store.Load();
    EXPECT_EQ(values.WindowTop, 5);
    values.WindowTop = 6;
    try {
        store.Save();
        ADD_FAILURE() << "no error";
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(ModeOf(path) & 07777, 0444u);
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"okaven.ini"});
}

TEST_F(SettingsFile, FullDiskKeepsTheOldFileByteForByte) {
    const std::string old = "BlockLenMultipler=3\r\nWindowTop=5\r\nmine=keep\r\n";
    WriteBytes(path, old);
    auto child = RunInChild([&]() -> std::string {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "no limit";
        SettingsStore store;
        Placement values;
        Prepare(store, values);
        store.Load();
        store.Lines = ManyLines(5000);
        try {
            store.Save();
            return "saved";
        } catch (const WriteError& e) {
            return e.what();
        }
    });
    EXPECT_EQ(child.output, "Stream write error");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"okaven.ini"});
}

}  // namespace
}  // namespace vireon
