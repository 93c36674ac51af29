// What the atomic writer does on Windows: MoveFileExW over the old file, its attributes, and
// the files Windows will not let it replace.
#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include "platform/SystemError.h"
#include "tests/support/TestFiles.h"
#include "tests/support/windows/WindowsFiles.h"

namespace vireon {
namespace {

using testing::AttributesOf;
using testing::ReadBytes;
using testing::SetAttributes;
using testing::TempDir;
using testing::WriteBytes;
using Kind = AtomicFileError::Kind;

TEST(AtomicFile, AppearsWholeOnCommitAndKeepsTheOldFilesMarks) {
    TempDir dir;
    const std::string path = dir / "out.bin";
    const std::string big(200'000, 'x');  // larger than the buffer
    {
        AtomicFile file(path);
        file.Write("abc", 3);
        file.Write(big.data(), big.size());
        EXPECT_FALSE(std::filesystem::exists(testing::PathOf(path)));
        file.Commit();
    }
    EXPECT_EQ(ReadBytes(path), "abc" + big);

    // An abandoned file leaves the old content and no temporary file.
    {
        AtomicFile file(path);
        file.Write("new", 3);
    }
    EXPECT_EQ(ReadBytes(path), "abc" + big);
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.bin"});

    // A hidden file is still hidden once replaced.
    SetAttributes(path, FILE_ATTRIBUTE_HIDDEN);
    {
        AtomicFile file(path);
        file.Write("new", 3);
        file.Commit();
    }
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_NE(AttributesOf(path) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.bin"});
}

// The message names the file as given and the reason; the kind tells a caller what to report.
TEST(AtomicFile, FailuresNameTheFileAndTheReason) {
    TempDir dir;
    WriteBytes(dir / "locked", "keep");
    SetAttributes(dir / "locked", FILE_ATTRIBUTE_READONLY);
    std::filesystem::create_directory(testing::PathOf(dir / "sub"));
    struct Case {
        std::string path;
        Kind kind;
        std::string reason;
        int error;
    };
    const Case cases[] = {
        {dir / "sub", Kind::Refused, "is a directory", 0},
        {"NUL", Kind::Refused, "is not a regular file", 0},
        {dir / "locked", Kind::Refused, "is read-only", 0},
        {dir / "none/out", Kind::Create, "cannot create", ERROR_PATH_NOT_FOUND},
        {"", Kind::Create, "cannot create", ERROR_PATH_NOT_FOUND},
    };
    const auto before = dir.Entries();
    for (const Case& c : cases) {
        try {
            AtomicFile file(c.path);
            ADD_FAILURE() << c.path << ": no error";
        } catch (const AtomicFileError& e) {
            std::string expected = c.path + ": " + c.reason;
            if (c.error != 0) expected += ": " + SystemErrorText(c.error);
            EXPECT_EQ(std::string(e.what()), expected);
            EXPECT_EQ(e.GetKind(), c.kind) << c.path;
            EXPECT_EQ(e.SystemError(), c.error) << c.path;
        }
    }
    EXPECT_EQ(dir.Entries(), before);
    EXPECT_EQ(ReadBytes(dir / "locked"), "keep");
    EXPECT_NE(AttributesOf(dir / "locked") & FILE_ATTRIBUTE_READONLY, 0u);
    SetAttributes(dir / "locked", FILE_ATTRIBUTE_NORMAL);  // so that the folder can go

    // Another program holds the old file open and lets no one replace it: after a second of
    // trying, the save fails, and the old file and nothing else is there.
    const std::string held = dir / "held.ini";
    WriteBytes(held, "old");
    const HANDLE holder = ::CreateFileW(Widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        AtomicFile file(held);
        file.Write("new", 3);
        file.Commit();
        ADD_FAILURE() << "replaced a file held open";
    } catch (const AtomicFileError& e) {
        EXPECT_EQ(e.GetKind(), Kind::Create);
        EXPECT_TRUE(std::string(e.what()).starts_with(held + ": cannot replace: ")) << e.what();
    }
    ::CloseHandle(holder);
    EXPECT_EQ(ReadBytes(held), "old");
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"held.ini", "locked", "sub"}));
}

}  // namespace
}  // namespace vireon
