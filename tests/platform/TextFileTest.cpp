#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

namespace vireon {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Lines = std::vector<std::string>;

std::string S(const char* text, std::size_t size) {
    return std::string(text, size);
}

struct SplitCase {
    const char* name;
    std::string text;
    Lines lines;
};

TEST(SplitLines, LineEndForms) {
    const SplitCase cases[] = {
        {"empty", "", {}},
        {"no line end", "a", {"a"}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"cr only", "a\rb\r", {"a", "b"}},
        {"lf only", "a\nb\n", {"a", "b"}},
        {"lf cr is two ends", "a\n\rb", {"a", "", "b"}},
        {"cr cr lf", "a\r\r\nb", {"a", "", "b"}},
        {"final line without end", "a\r\nb", {"a", "b"}},
        {"only a line end", "\r\n", {""}},
        {"blank lines kept", "\n\nx\n\n", {"", "", "x", ""}},
        {"trailing lf cr", "a\n\r", {"a", ""}},
        {"nul ends content", S("a\r\nb\0c\r\nd", 10), {"a", "b"}},
        {"nul first", S("\0abc", 4), {}},
        {"nul right after line end", S("a\r\n\0\r\n", 5), {"a"}},
        {"blanks are content", " a = b \t\r\n", {" a = b \t"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.name;
}

TEST(ReadLines, ReadsPastOneBufferAndStopsAtNul) {
    TempDir dir;
    // Longer than the read buffer, with a line straddling its edge.
    std::string big;
    Lines expected;
    for (int i = 0; i < 5000; ++i) {
        expected.push_back("line" + std::to_string(i) + std::string(20, 'x'));
        big += expected.back() + "\r\n";
    }
    WriteBytes(dir / "big", big + S("\0tail\r\n", 7));
    EXPECT_EQ(ReadLines(dir / "big"), expected);
}

TEST(ReadLines, FailuresNameTheFile) {
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    for (const std::string& path : {dir / "missing", dir / "sub"}) {
        try {
            ReadLines(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileOpenError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
        }
    }
}

TEST(WriteLines, WritesCrLfAfterEveryLineAndReplacesTheWholeFile) {
    TempDir dir;
    const std::string path = dir / "out.ini";
    WriteBytes(path, std::string(10000, 'z'));  // longer than what replaces it
    WriteLines(path, {"a=1", "", "[x]", "b"});
    EXPECT_EQ(ReadBytes(path), "a=1\r\n\r\n[x]\r\nb\r\n");
    WriteLines(path, {});
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.ini"});
}

// A save killed part-way leaves its temporary file; the next save removes it once it is old
// enough not to be another instance's save in progress, and touches nothing else.
TEST(WriteLines, RemovesOldLeftoversOfTheSameFileOnly) {
    TempDir dir;
    const std::string path = dir / "okaven.ini";
    const auto age = [&](const std::string& name, int seconds) {
        WriteBytes(dir / name, "part");
        std::filesystem::last_write_time(
            testing::PathOf(dir / name),
            std::filesystem::file_time_type::clock::now() - std::chrono::seconds(seconds));
    };
    age("okaven.ini.aB3dE9.tmp", 120);  // an old leftover: goes
    age("okaven.ini.Zz0Zz0.tmp", 5);    // may be another instance's save: stays
    age("okaven.ini.backup", 120);      // the user's own
    age("okaven.ini.aB3dE9", 120);      // no suffix: not ours
    age("okaven.ini.aB3d.tmp", 120);    // not six letters
    age("other.ini.aB3dE9.tmp", 120);   // another file's
    std::filesystem::create_directory(dir / "okaven.ini.Dir000.tmp");
    WriteLines(path, {"a=1"});
    EXPECT_EQ(dir.Entries(),
              (std::set<std::string>{"okaven.ini", "okaven.ini.Dir000.tmp", "okaven.ini.Zz0Zz0.tmp",
                                     "okaven.ini.aB3d.tmp", "okaven.ini.aB3dE9",
                                     "okaven.ini.backup", "other.ini.aB3dE9.tmp"}));
}

}  // namespace
}  // namespace vireon
