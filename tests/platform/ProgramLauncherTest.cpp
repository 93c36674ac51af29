// The launcher's answer decides whether the Input volume command tries the next control program
// or says what to install: it must say "not started" whenever nothing was.
#include <gtest/gtest.h>

#include <string>

#include "platform/linux/QtProgramLauncher.h"
#include "tests/support/TempDir.h"

namespace vireon::testing {
namespace {

TEST(QtProgramLauncherTest, SaysStartedOnlyForAProgramThatCouldBeStarted) {
    TempDir folder;
    const std::string notExecutable = folder.Write("volume-control", "#!/bin/sh\nexit 0\n");
    struct Row {
        std::string commandLine;
        bool started;
    };
    const Row rows[] = {
        {"/bin/true", true},
        {"sh -c exit", true},  // found on the path, with arguments
        {folder / "pavucontrol --tab=4", false},
        {"vireon-no-such-volume-control --tab=4", false},
        {notExecutable, false},
        {folder.Path(), false},  // a folder
        {"", false},
    };
    QtProgramLauncher launcher;
    for (const Row& row : rows)
        EXPECT_EQ(launcher.Launch(row.commandLine), row.started) << "'" << row.commandLine << "'";
}

}  // namespace
}  // namespace vireon::testing
