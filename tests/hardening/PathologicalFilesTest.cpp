// Files nobody should hand the program, handed to it anyway: huge, binary, endless or not files
// at all. Each must give its ordinary result or a clear error, within bounded time and memory.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "dsp/FirFilter.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"
#include "settings/ProgramSettings.h"
#include "settings/SettingsStore.h"
#include "tests/hardening/BoundedRun.h"
#include "tests/support/FakeMessageBoxes.h"
#include "tests/support/TestFiles.h"

namespace vireon {
namespace {

using testing::BoundedRun;
using testing::BoundKiB;
using testing::FakeMessageBoxes;
using testing::ReadBytes;
using testing::RunBounded;
using testing::TempDir;

// Generous enough for the sanitizer build on a busy machine.
constexpr double TimeLimit = 120.0;
constexpr long long HundredMB = 100LL * 1000 * 1000;

// Writes head, then copies of filler until the file holds at least `size` bytes, then tail.
long long WriteBigFile(const std::string& path, const std::string& head, const std::string& filler,
                       long long size, const std::string& tail = {}) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    while (chunk.size() < (1u << 20)) chunk += filler;
    out << head;
    long long written = static_cast<long long>(head.size());
    while (written < size) {
        out << chunk;
        written += static_cast<long long>(chunk.size());
    }
    out << tail;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
    return written + static_cast<long long>(tail.size());
}

std::string RandomBytes(std::size_t size, bool withNul, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        auto b = static_cast<unsigned char>(random() & 0xFF);
        if (!withNul && b == 0) b = 1;
        c = static_cast<char>(b);
    }
    return bytes;
}

// Loads a filter and describes the result: its taps and coefficients, or the error's text.
std::string LoadFilter(const std::string& path) {
    FakeMessageBoxes boxes;
    FirFilter filter;
    try {
        filter.Load(path, boxes);
    } catch (const Error& e) {
        return std::string("error: ") + e.what();
    }
    if (!boxes.shown.empty()) return "box: " + boxes.shown.front().text;
    std::ostringstream text;
    text << "taps " << filter.TapCount;
    for (int32_t i = 0; i < filter.TapCount && i < 4; ++i) text << ' ' << filter.Coefficients[i];
    return text.str();
}

// The window's six settings.
struct Values : ProgramSettings {
    void RegisterIn(SettingsStore& store) { RegisterSettings(store, *this); }
    std::string Describe() const {
        std::ostringstream text;
        text << BlockLenMultipler << ' ' << WindowTop << ' ' << WindowLeft << ' ' << WindowWidth
             << ' ' << WindowHeight << ' ' << (WindowMaximized ? "max" : "normal");
        return text.str();
    }
};

// Loads the settings, moves the window by one and saves: the values loaded, or the error.
std::string LoadAndSave(const std::string& path) {
    SettingsStore store;
    Values values;
    store.FileName = path;
    values.RegisterIn(store);
    try {
        store.Load();
    } catch (const Error& e) {
        return std::string("load error: ") + e.what();
    }
    const std::string loaded = values.Describe();
    values.WindowTop += 1;
    try {
        store.Save();
    } catch (const Error& e) {
        return loaded + ", save error: " + e.what();
    }
    return loaded;
}

void ExpectBounded(const BoundedRun& run, long long boundKiB) {
    EXPECT_TRUE(run.finished) << "did not finish within " << TimeLimit << " s";
    EXPECT_LE(run.peakGrowthKiB, boundKiB)
        << "resident memory rose by " << run.peakGrowthKiB << " KiB";
    std::printf("    %.2f s, peak +%lld KiB\n", run.seconds, run.peakGrowthKiB);
}

// Files of 100 MB and more: the taps they hold, or the refusal of a text past the reader's
// limit or of a file of nothing but line ends, within `times` the file in memory.
TEST(PathologicalCoefficientFile, HundredMegabytesAndMoreLoadOrAreRefusedWithinBounds) {
    TempDir dir;
    const std::string path = dir / "fir1.txt";
    const std::string refused = "error: Cannot open file " + path;
    const struct {
        const char* name;
        std::string head, filler;
        long long size;
        int times;
        std::string expected;
    } cases[] = {
        {"taps then 100 MB of coefficients", "NTaps=3\r\n0.25\r\n0.5\r\n0.25\r\n",
         "-0.00123456789\r\n", HundredMB, 6, "taps 3 0.25 0.5 0.25"},
        {"text past the reader's limit", "NTaps=1\n0.5\n", std::string(63, '#') + "\n",
         static_cast<long long>(MaxTextFileBytes) + 1, 2, refused},
        {"100 MB of LF", "NTaps=1\n0.5\n", "\n", HundredMB, 3, refused},
        {"100 MB of CR LF", "NTaps=1\n0.5\n", "\r\n", HundredMB, 3, refused},
        {"100 MB of CR", "NTaps=1\n0.5\n", "\r", HundredMB, 3, refused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const long long size = WriteBigFile(path, c.head, c.filler, c.size);
        ASSERT_GE(size, c.size);
        const BoundedRun run = RunBounded([&] { return LoadFilter(path); }, TimeLimit);
        ExpectBounded(run, BoundKiB(size, c.times));
        EXPECT_EQ(run.outcome, c.expected);
    }
}

// Long lines, binary and files that are not files: the taps or the conversion error, within
// `times` the content in memory.
TEST(PathologicalCoefficientFile, OddFilesAreReadOrRefusedWithinBounds) {
    TempDir dir;
    const std::string fifo = dir / "fifo";  // no writer
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string digits(10 << 20, '5');
    const std::string noCount = "error: '' is not a valid integer value";
    const struct {
        const char* name;
        std::string path;  // empty: fir1.txt holding the content
        std::string content;
        int times;
        std::string expected;
    } cases[] = {
        {"10 MB coefficient", "", "NTaps=1\n0." + digits + "\n", 8, "taps 1 0.555556"},
        // The message names the whole value (shortened here to its two ends).
        {"10 MB tap count", "", "NTaps=" + digits + "\n", 8,
         "error: '" + std::string(32, '5') + "...' is not a valid integer value"},
        {"10 MB junk line first", "", std::string(10 << 20, 'x') + "\nNTaps=0\n", 8, "taps 0"},
        {"random bytes with NUL", "", RandomBytes(4 << 20, true, 1234), 8, noCount},
        {"random bytes without NUL", "", RandomBytes(4 << 20, false, 1234), 8, noCount},
        {"/dev/zero reads as empty", "/dev/zero", "", 1, noCount},
        {"FIFO without a writer does not hang", fifo, "", 1, noCount},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.path.empty() ? dir.Write("fir1.txt", c.content) : c.path;
        const BoundedRun run = RunBounded(
            [&] {
                std::string outcome = LoadFilter(path);
                return outcome.size() > 100
                           ? outcome.substr(0, 40) + "..." + outcome.substr(outcome.size() - 30)
                           : outcome;
            },
            TimeLimit);
        ExpectBounded(run, BoundKiB(static_cast<long long>(c.content.size()), c.times));
        EXPECT_EQ(run.outcome, c.expected);
    }
}

// A process that keeps the FIFO open for writing, writes `first`, then `more` over and over
// (if not empty) until killed.
pid_t StartWriter(const std::string& path, const std::string& first, const std::string& more) {
    int ready[2];
    if (::pipe(ready) != 0) std::abort();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        // Read-write: the open does not wait for a reader, and the first text is in the FIFO
        // before the test goes on.
        const int fd = ::open(path.c_str(), O_RDWR);
        if (fd < 0) ::_exit(1);
        if (::write(fd, first.data(), first.size()) != static_cast<ssize_t>(first.size()))
            ::_exit(1);
        if (::write(ready[1], "r", 1) != 1) ::_exit(1);
        ::close(ready[1]);
        if (more.empty()) ::pause();
        for (;;)
            if (::write(fd, more.data(), more.size()) < 0) ::_exit(0);
    }
    ::close(ready[1]);
    char c = 0;
    if (::read(ready[0], &c, 1) != 1) std::abort();
    ::close(ready[0]);
    return pid;
}

void StopWriter(pid_t pid) {
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

TEST(PathologicalCoefficientFile, FifoWithWriterGivesWhatWasWrittenSoFar) {
    TempDir dir;
    const std::string path = dir / "fir1.txt";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::string endless;
    while (endless.size() < 65536) endless += "0.125 " + std::string(58, '#') + "\n";
    struct Case {
        const char* name;
        std::string more;
    };
    for (const Case& c : {Case{"quiet writer", ""}, Case{"endless writer", endless}}) {
        SCOPED_TRACE(c.name);
        const pid_t writer = StartWriter(path, "NTaps=2\n0.5\n0.25\n", c.more);
        const BoundedRun run = RunBounded([&] { return LoadFilter(path); }, TimeLimit);
        StopWriter(writer);
        // Bounded by the reader's limit on a text, not by the writer.
        ExpectBounded(run, BoundKiB(static_cast<long long>(MaxTextFileBytes), 3));
        if (c.more.empty()) {
            EXPECT_EQ(run.outcome, "taps 2 0.5 0.25");
        } else {
            // What was in the FIFO when the reader caught up, or, if it never did, the refusal.
            EXPECT_TRUE(run.outcome == "taps 2 0.5 0.25" ||
                        run.outcome == "error: Cannot open file " + path)
                << run.outcome;
        }
    }
}

TEST(PathologicalSettingsFile, HundredMegabytesLoadAndSaveWithinBounds) {
    TempDir dir;
    const std::string path = dir / "okaven.ini";
    const long long size = WriteBigFile(path, "BlockLenMultipler=4\r\nWindowTop=17\r\n",
                                        "SomeOtherProgramsKey=some value\r\n", HundredMB,
                                        "WindowMaximized=off\r\nLastLine=kept\r\n");
    const BoundedRun run = RunBounded([&] { return LoadAndSave(path); }, TimeLimit);
    ExpectBounded(run, BoundKiB(size, 6));
    EXPECT_EQ(run.outcome, "4 17 0 0 0 normal");

    // Every foreign line kept, WindowTop moved, the four missing keys added at the end.
    const std::string added = "WindowLeft=0\r\nWindowWidth=0\r\nWindowHeight=0\r\n";
    EXPECT_EQ(std::filesystem::file_size(path), static_cast<std::uintmax_t>(size) + added.size());
    std::ifstream in(path, std::ios::binary);
    std::string head(35, '\0');
    in.read(head.data(), 35);
    EXPECT_EQ(head, "BlockLenMultipler=4\r\nWindowTop=18\r\n");
    in.seekg(-static_cast<std::streamoff>(added.size() + 36), std::ios::end);
    std::string tail(added.size() + 36, '\0');
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    EXPECT_EQ(tail, "WindowMaximized=off\r\nLastLine=kept\r\n" + added);
}

TEST(PathologicalSettingsFile, TenMegabyteLine) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string content;
        std::string expected;
    };
    const std::string big(10 << 20, '7');
    const Case cases[] = {
        {"line without a key", big + "\r\nWindowTop=5\r\n", "1 5 0 0 0 max"},
        {"foreign key with a long value", "Other=" + big + "\r\nWindowLeft=3\r\n", "1 0 3 0 0 max"},
        // Integers are read the forgiving way (digits until they stop, no range check), so a
        // long one loads as some number rather than failing.
        {"integer value too long", "WindowWidth=" + big + "\r\n", "number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write("okaven.ini", c.content);
        const BoundedRun run = RunBounded(
            [&] {
                const std::string outcome = LoadAndSave(path);
                return outcome.rfind("1 0 0 ", 0) == 0 && outcome.ends_with(" 0 max") &&
                               outcome != "1 0 0 0 0 max"
                           ? std::string("number")
                           : outcome;
            },
            TimeLimit);
        ExpectBounded(run, BoundKiB(static_cast<long long>(c.content.size()), 8));
        EXPECT_EQ(run.outcome, c.expected);
        if (c.expected != "number") {
            // The long line survives the save unchanged.
            std::ifstream in(path, std::ios::binary);
            std::string head(c.content.size() - 15, '\0');
            in.read(head.data(), static_cast<std::streamsize>(head.size()));
            EXPECT_TRUE(head == c.content.substr(0, head.size()));
        }
    }
}

TEST(PathologicalSettingsFile, RandomBinaryLoadsDefaultsAndSurvivesARoundTrip) {
    TempDir dir;
    for (const bool withNul : {true, false}) {
        SCOPED_TRACE(withNul ? "with NUL bytes" : "without NUL bytes");
        const std::string path = dir.Write("okaven.ini", RandomBytes(4 << 20, withNul, 99));
        const BoundedRun run = RunBounded(
            [&] {
                SettingsStore first;
                Values a;
                first.FileName = path;
                a.RegisterIn(first);
                first.Load();
                first.Save();
                SettingsStore second;
                Values b;
                second.FileName = path;
                b.RegisterIn(second);
                second.Load();
                if (second.Lines != first.Lines) return std::string("lines changed");
                return a.Describe() + " / " + b.Describe();
            },
            TimeLimit);
        ExpectBounded(run, BoundKiB(4 << 20, 8));
        EXPECT_EQ(run.outcome, "1 0 0 0 0 max / 1 0 0 0 0 max");
    }
}

// A dangling link loads the defaults and the save makes the file it names; into a missing
// folder, the save fails.
TEST(PathologicalSettingsFile, DanglingLinksLoadDefaultsAndSaveToTheirTarget) {
    TempDir dir;
    const std::string link = dir / "okaven.ini";
    std::filesystem::create_symlink(dir / "elsewhere.ini", link);
    EXPECT_EQ(LoadAndSave(link), "1 0 0 0 0 max");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(dir / "elsewhere.ini"),
              "BlockLenMultipler=1\r\nWindowTop=1\r\nWindowLeft=0\r\nWindowWidth=0\r\n"
              "WindowHeight=0\r\nWindowMaximized=on\r\n");

    const std::string lost = dir / "lost.ini";
    std::filesystem::create_symlink(dir / "no-such-folder/okaven.ini", lost);
    const BoundedRun run = RunBounded([&] { return LoadAndSave(lost); }, TimeLimit);
    ExpectBounded(run, BoundKiB(0, 1));
    EXPECT_EQ(run.outcome, "1 0 0 0 0 max, save error: Cannot create file " + lost);
}

}  // namespace
}  // namespace vireon
