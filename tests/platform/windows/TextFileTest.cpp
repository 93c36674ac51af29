// What the text files do on Windows: any Unicode in names, the read-only attribute, devices,
// and a writable file in a folder that takes no new file.
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "tests/support/TestFiles.h"
#include "tests/support/windows/WindowsFiles.h"

namespace vireon {
namespace {

using testing::AttributesOf;
using testing::PathOf;
using testing::ReadBytes;
using testing::SetAttributes;
using testing::TempDir;
using testing::WriteBytes;
using Lines = std::vector<std::string>;

// "Jürgen", "Funk Ω" and "日本", and a file name with "€": UTF-8 in the program, UTF-16 at
// every call.
TEST(WriteLines, AnyUnicodeInFolderAndFileNames) {
    TempDir dir;
    const std::string folder = dir / "J\xC3\xBCrgen\\Funk \xCE\xA9/\xE6\x97\xA5\xE6\x9C\xAC";
    std::filesystem::create_directories(PathOf(folder));
    const std::string path = folder + "\\okaven \xE2\x82\xAC.ini";
    WriteLines(path, {"a=1"});
    EXPECT_TRUE(FileExists(path));
    WriteLines(path, {"a=2", "\xC3\xA4"});
    EXPECT_EQ(ReadLines(path), (Lines{"a=2", "\xC3\xA4"}));
    EXPECT_EQ(ReadBytes(path), "a=2\r\n\xC3\xA4\r\n");
    // The names on the disk are those characters, not their bytes read in a code page.
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"J\xC3\xBCrgen"});
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder)))
        names.insert(testing::Utf8Of(entry.path().filename()));
    EXPECT_EQ(names, std::set<std::string>{"okaven \xE2\x82\xAC.ini"});
}

// Each case leaves something in the file's place that a save must refuse and leave alone.
TEST(WriteLines, RefusesWhatItCannotReplaceAndLeavesItAlone) {
    TempDir dir;
    WriteBytes(dir / "readonly.ini", "keep\r\n");
    SetAttributes(dir / "readonly.ini", FILE_ATTRIBUTE_READONLY);
    std::filesystem::create_directory(PathOf(dir / "folder.ini"));
    const auto before = dir.Entries();
    for (const std::string& path :
         {dir / "readonly.ini", dir / "folder.ini", dir / "none/okaven.ini", std::string("NUL")}) {
        try {
            WriteLines(path, {"new"});
            ADD_FAILURE() << path << ": no error";
        } catch (const FileCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
        }
    }
    EXPECT_EQ(dir.Entries(), before);
    EXPECT_EQ(ReadBytes(dir / "readonly.ini"), "keep\r\n");
    EXPECT_EQ(AttributesOf(dir / "readonly.ini") & FILE_ATTRIBUTE_READONLY,
              DWORD{FILE_ATTRIBUTE_READONLY});
    SetAttributes(dir / "readonly.ini", FILE_ATTRIBUTE_NORMAL);  // so that the folder can go
    // A device is not a file to read either ("CON" would wait for the keyboard).
    EXPECT_THROW(ReadLines("NUL"), FileOpenError);
}

// An administrator may leave a user a writable okaven.ini in a folder the user cannot write
// (Program Files): the file is rewritten where it is. A new file there is still refused.
TEST(WriteLines, WritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace) {
    const std::string folder = testing::LockedFolder();
    if (folder.empty()) GTEST_SKIP() << "no folder that refuses new files (with-locked-folder)";
    const std::string path = folder + "/okaven.ini";
    ASSERT_EQ(ReadBytes(path), "WindowTop=100\r\nWindowLeft=200\r\n");
    WriteLines(path, {"x=1"});
    EXPECT_EQ(ReadBytes(path), "x=1\r\n") << "shorter: the rest is cut";
    WriteLines(path, {"WindowTop=100", "WindowLeft=200", "WindowWidth=300"});
    EXPECT_EQ(ReadBytes(path), "WindowTop=100\r\nWindowLeft=200\r\nWindowWidth=300\r\n");
    try {
        WriteLines(folder + "/new.ini", {"x"});
        ADD_FAILURE() << "a new file was made";
    } catch (const FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + folder + "/new.ini");
    }
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder)))
        names.insert(testing::Utf8Of(entry.path().filename()));
    EXPECT_EQ(names, std::set<std::string>{"okaven.ini"});
}

}  // namespace
}  // namespace vireon
