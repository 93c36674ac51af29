#include "platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "tests/support/TestFiles.h"
#include "tests/support/linux/PosixFiles.h"

namespace vireon {
namespace {

using testing::ModeOf;
using testing::ReadBytes;
using testing::RunInChild;
using testing::TempDir;
using testing::WriteBytes;
using Kind = AtomicFileError::Kind;

TEST(AtomicFile, AppearsWholeOnCommitAndNotAtAllOtherwise) {
    TempDir dir;
    const std::string path = dir / "out.bin";
    const mode_t oldMask = ::umask(022);
    {
        AtomicFile file(path);
        file.Write("abc", 3);
        const std::string big(200'000, 'x');  // larger than the buffer
        file.Write(big.data(), big.size());
        file.Write("z", 1);
        EXPECT_FALSE(std::filesystem::exists(path)) << "nothing at the target before the commit";
        file.Commit();
    }
    ::umask(oldMask);
    EXPECT_EQ(ReadBytes(path), "abc" + std::string(200'000, 'x') + "z");
    EXPECT_EQ(ModeOf(path) & 07777, 0644u);

    // An abandoned file leaves the old content and no temporary file.
    ::chmod(path.c_str(), 0600);
    {
        AtomicFile file(path);
        file.Write("new", 3);
    }
    EXPECT_EQ(ReadBytes(path).size(), 200'004u);
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"out.bin"});

    // Replacing keeps the old permissions.
    {
        AtomicFile file(path);
        file.Write("new", 3);
        file.Commit();
    }
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ModeOf(path) & 07777, 0600u);

    // Through a symbolic link the target file is replaced and the link stays; a dangling one
    // makes the file it names.
    std::filesystem::create_symlink("out.bin", dir / "link");
    std::filesystem::create_symlink("later.bin", dir / "dangling");
    for (const std::string name : {"link", "dangling"}) {
        AtomicFile file(dir / name);
        file.Write("via link", 8);
        file.Commit();
    }
    EXPECT_EQ(ReadBytes(path), "via link");
    EXPECT_EQ(ReadBytes(dir / "later.bin"), "via link");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling"));
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"dangling", "later.bin", "link", "out.bin"}));
}

// The message names the file as given and the reason; the kind tells a caller what to report.
TEST(AtomicFile, FailuresNameTheFileAndTheReason) {
    TempDir dir;
    WriteBytes(dir / "locked", "keep");
    ::chmod((dir / "locked").c_str(), 0444);
    WriteBytes(dir / "file", "x");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_symlink("loop.b", dir / "loop");
    std::filesystem::create_symlink("loop", dir / "loop.b");
    struct Case {
        std::string path;
        Kind kind;
        std::string reason;
        int error;
    };
    const Case cases[] = {
        {dir / "sub", Kind::Refused, "is a directory", 0},
        {dir / "fifo", Kind::Refused, "is not a regular file", 0},
        {dir / "locked", Kind::Refused, "is read-only", 0},
        {dir / "loop", Kind::Refused, "cannot follow the symbolic link", ELOOP},
        {dir / "none/out", Kind::Create, "cannot create", ENOENT},
        {dir / "file/out", Kind::Create, "cannot create", ENOTDIR},
        {"", Kind::Create, "cannot create", ENOENT},
    };
    const auto before = dir.Entries();
    for (const Case& c : cases) {
        try {
            AtomicFile file(c.path);
            ADD_FAILURE() << c.path << ": no error";
        } catch (const AtomicFileError& e) {
            std::string expected = c.path + ": " + c.reason;
            if (c.error != 0) expected += std::string(": ") + std::strerror(c.error);
            EXPECT_EQ(std::string(e.what()), expected);
            EXPECT_EQ(e.Path(), c.path);
            EXPECT_EQ(e.GetKind(), c.kind) << c.path;
            EXPECT_EQ(e.SystemError(), c.error) << c.path;
        }
    }
    EXPECT_EQ(dir.Entries(), before);
    EXPECT_EQ(ReadBytes(dir / "locked"), "keep");

    // A full disk shows in Write or at the latest in Commit, and leaves nothing behind.
    auto child = RunInChild([&]() -> std::string {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "no limit";
        try {
            AtomicFile file(dir / "big");
            const std::string block(1000, 'b');
            for (int i = 0; i < 100; ++i) file.Write(block.data(), block.size());
            file.Commit();
            return "written";
        } catch (const AtomicFileError& e) {
            return e.GetKind() == Kind::Write ? e.what() : "wrong kind";
        }
    });
    EXPECT_EQ(child.output, (dir / "big") + ": write error: " + std::strerror(EFBIG));
    EXPECT_EQ(dir.Entries(), before);
}

}  // namespace
}  // namespace vireon
