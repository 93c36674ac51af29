// What vireon-render does its own way on Windows: raw input only, read as bytes; Windows paths;
// file names that differ only in letter case; the system's words in its failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "platform/SystemError.h"
#include "tests/render/TestRecordings.h"
#include "tests/support/windows/WindowsFiles.h"
#include "tools/render/Render.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/input/RecordingReader.h"

namespace vireon::render {
namespace {

using vireon::testing::TempDir;

std::string ErrorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const RenderError& e) {
        return e.what();
    }
    return "no error";
}

TEST(RecordingReader, WindowsReadsRawBytesOnlyAndAsTheyAre) {
    TempDir dir;
    // Every byte value, CR LF and Ctrl-Z among them, which a text-mode read would change.
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 37) % 256);
    bytes += "\r\n\x1A\r\n";
    vireon::testing::WriteBytes(dir / "take.raw", bytes);
    auto reader = OpenRecording(dir / "take.raw", true);
    EXPECT_EQ(reader->ExpectedSamples(), static_cast<int64_t>(bytes.size()));
    std::string read(bytes.size() + 10, '\0');
    std::size_t used = 0;
    while (std::size_t n = reader->Read(reinterpret_cast<uint8_t*>(read.data()) + used, 333))
        used += n;
    EXPECT_EQ(read.substr(0, used), bytes);

    const std::string wav = dir / "take.wav";
    EXPECT_EQ(ErrorOf([&] { OpenRecording(wav, false); }),
              wav +
                  ": only raw 8000 Hz unsigned 8-bit input is read on Windows (a name ending "
                  "in .u8 or .raw, or --raw)");
    EXPECT_EQ(ErrorOf([&] { OpenRecording(dir.Path(), true); }),
              dir.Path() + ": is a directory, not a recording");
    EXPECT_EQ(ErrorOf([&] { OpenRecording(dir / "none.u8", true); }),
              dir / "none.u8" + ": cannot open: " + SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(HelpText().find("Only such raw input is\nread on Windows"), std::string::npos);
}

TEST(RenderOptions, WindowsPathsAndNamesThatDifferInLetterCaseOnly) {
    const std::vector<std::pair<std::string, std::string>> outputs = {
        {"C:\\rec.d\\take", "C:\\rec.d\\take.png"},
        {"dir\\rec.u8", "dir\\rec.png"},
        {"a.b/c\\.hidden", "a.b/c\\.hidden.png"},
    };
    for (const auto& [in, out] : outputs) EXPECT_EQ(DefaultOutputPath(in), out) << in;
    // Windows would take these for the same file.
    EXPECT_THROW(ParseArguments({"--raw", "REC.PNG"}), UsageError);
    EXPECT_THROW(ParseArguments({"-o", "a.png", "--magnitudes", "A.PNG", "x.u8"}), UsageError);
}

TEST(Render, WindowsOutputFailuresNameTheFileAndTheSystemsReason) {
    TempDir dir;
    vireon::testing::WriteBytes(dir / "fir.txt", vireon::testing::LowPassFirText());
    vireon::testing::WriteBytes(dir / "tone.u8", vireon::testing::ToneU8(1000, 4000));
    vireon::testing::WriteBytes(dir / "locked.png", std::string("old"));
    vireon::testing::SetAttributes(dir / "locked.png", FILE_ATTRIBUTE_READONLY);
    const std::string missing = SystemErrorText(ERROR_PATH_NOT_FOUND);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-o", dir / "nodir/out.png"}, dir / "nodir/out.png: cannot create: " + missing},
        {{"-o", dir / "locked.png"}, dir / "locked.png: is read-only"},
        {{"--magnitudes", dir / "nodir/m.f32"}, dir / "nodir/m.f32: cannot create: " + missing},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> all = {"--fir", dir / "fir.txt", dir / "tone.u8"};
        all.insert(all.begin(), args.begin(), args.end());
        EXPECT_EQ(ErrorOf([&] { Render(ParseArguments(all), dir / "fir.txt", stderr, false); }),
                  message);
    }
    vireon::testing::SetAttributes(dir / "locked.png", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"fir.txt", "locked.png", "tone.u8"}));
}

}  // namespace
}  // namespace vireon::render
