// What the text files do on POSIX systems: links, FIFOs, devices, modes, owners, folders the
// user may not write.
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "tests/support/TestFiles.h"
#include "tests/support/linux/PosixFiles.h"

namespace vireon {
namespace {

using testing::ModeOf;
using testing::ReadBytes;
using testing::RunInChild;
using testing::TempDir;
using testing::WriteBytes;
using Lines = std::vector<std::string>;

TEST(FileExists, CountsFilesAndLinksToFilesOnly) {
    TempDir dir;
    WriteBytes(dir / "file", "x");
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_symlink("file", dir / "toFile");
    std::filesystem::create_symlink("sub", dir / "toDir");
    std::filesystem::create_symlink("missing", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);

    const std::pair<const char*, bool> cases[] = {
        {"file", true},   {"toFile", true},    {"fifo", true},    {"sub", false},
        {"toDir", false}, {"dangling", false}, {"missing", false}};
    for (const auto& [name, exists] : cases) EXPECT_EQ(FileExists(dir / name), exists) << name;
    EXPECT_FALSE(FileExists(""));
}

TEST(ReadLines, NeverWaitsOnAFifoOrADevice) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadLines(dir / "fifo"), Lines{});  // no writer: empty, not blocked
    EXPECT_EQ(ReadLines("/dev/zero"), Lines{});   // the first byte is a NUL
}

// A new file follows the umask; a replaced one keeps its mode and, when root saves, its owner.
TEST(WriteLines, NewFileFollowsUmaskOldFileKeepsItsModeAndOwner) {
    TempDir dir;
    const mode_t old = ::umask(022);
    WriteLines(dir / "new", {"x"});
    ::umask(old);
    EXPECT_EQ(ModeOf(dir / "new") & 07777, 0644u);

    const std::string kept = dir / "kept";
    WriteBytes(kept, "old");
    ::chmod(kept.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(kept.c_str(), 65534, 65534), 0);
    }
    WriteLines(kept, {"x"});
    EXPECT_EQ(ReadBytes(kept), "x\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }
}

TEST(WriteLines, WritesThroughSymbolicLinks) {
    TempDir dir;
    std::filesystem::create_directory(dir / "real");
    WriteBytes(dir / "real/target.ini", "old\r\n");
    // A chain: absolute link -> relative link -> file.
    std::filesystem::create_symlink("real/target.ini", dir / "rel");
    std::filesystem::create_symlink(dir / "rel", dir / "abs");
    WriteLines(dir / "abs", {"new"});
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "abs"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "rel"));
    EXPECT_EQ(ReadBytes(dir / "real/target.ini"), "new\r\n");
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"abs", "real", "rel"}));

    // A dangling link makes the file it names.
    std::filesystem::create_symlink("real/later.ini", dir / "dangling");
    WriteLines(dir / "dangling", {"made"});
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling"));
    EXPECT_EQ(ReadBytes(dir / "real/later.ini"), "made\r\n");
}

// Each case leaves something in the file's place that a save must refuse and leave alone.
TEST(WriteLines, RefusesWhatItCannotReplaceSafely) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> prepare;
    };
    const Case cases[] = {
        {"read-only file (even for root)",
         [](const std::string& p) {
             WriteBytes(p, "keep\r\n");
             ::chmod(p.c_str(), 0444);
         }},
        {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
        {"fifo", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }},
        {"link loop",
         [](const std::string& p) {
             std::filesystem::create_symlink(p + ".b", p);
             std::filesystem::create_symlink(p, p + ".b");
         }},
        {"missing directory", [](const std::string&) {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::string path = dir / "okaven.ini";
        if (std::string(c.name) == "missing directory") path = dir / "none/okaven.ini";
        c.prepare(path);
        const auto before = dir.Entries();
        const mode_t modeBefore = ModeOf(path);
        std::error_code loop;
        const std::string bytesBefore =
            std::filesystem::is_regular_file(path, loop) ? ReadBytes(path) : "";
        try {
            WriteLines(path, {"new"});
            ADD_FAILURE() << c.name << ": no error";
        } catch (const FileCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path) << c.name;
        }
        EXPECT_EQ(dir.Entries(), before) << c.name;
        EXPECT_EQ(ModeOf(path), modeBefore) << c.name;
        if (!bytesBefore.empty()) {
            EXPECT_EQ(ReadBytes(path), bytesBefore) << c.name;
        }
    }
    EXPECT_THROW(WriteLines("", {"x"}), FileCreateError) << "empty name";
}

// An administrator may leave a user a writable file in a folder the user cannot write: the
// file is rewritten where it is. A new file there is still refused.
TEST(WriteLines, WritableFileInAReadOnlyFolderIsRewrittenInPlace) {
    TempDir dir;
    const std::string path = dir / "okaven.ini";
    WriteBytes(path, "WindowTop=100\r\nWindowLeft=200\r\n");
    ::chmod(path.c_str(), 0644);
    const bool root = ::geteuid() == 0;
    // Root writes in any folder, so the save runs as nobody, who owns the file only.
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    ::chmod(dir.Path().c_str(), root ? 0755 : 0555);
    struct stat before {};
    ::stat(path.c_str(), &before);
    auto child = RunInChild([&]() -> std::string {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return "skip";
        WriteLines(path, {"x=1"});
        try {
            WriteLines(dir / "new.ini", {"x"});
            return "new file made";
        } catch (const FileCreateError& e) {
            return e.what();
        }
    });
    ::chmod(dir.Path().c_str(), 0700);
    if (child.output == "skip") GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(child.output, "Cannot create file " + (dir / "new.ini"));
    EXPECT_EQ(ReadBytes(path), "x=1\r\n");
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(dir.Entries(), std::set<std::string>{"okaven.ini"});
}

}  // namespace
}  // namespace vireon
