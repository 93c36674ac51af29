#include "platform/FilePaths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace vireon {
namespace {

// The program finds fir1.txt and okaven.ini in this folder: it must be the one holding the
// running program, given with its separator at the end.
TEST(ProgramDirectory, IsTheFolderOfTheRunningProgram) {
    const std::string folder = ProgramDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(PathSeparators().find(folder.back()), std::string_view::npos) << folder;
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(testing::PathOf(folder)))
        found =
            found || testing::Utf8Of(entry.path().filename()).starts_with("vireon_platform_tests");
    EXPECT_TRUE(found) << folder;
}

}  // namespace
}  // namespace vireon
