// vireon-render run as a program, on recordings made here, against the chain run in-process.
#include <gtest/gtest.h>

#include <sndfile.h>
#include <sys/stat.h>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "dsp/Waterfall.h"
#include "platform/linux/QImageSurface.h"
#include "tests/render/Subprocess.h"
#include "tests/render/TestRecordings.h"
#include "tests/render/linux/SoundFiles.h"

namespace vireon::testing {
namespace {

constexpr int32_t SamplesPerFrame = 255;

class RenderToolTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(fir, LowPassFirText()); }

    ProcessResult Run(std::vector<std::string> args, const std::string& stdinPath = "/dev/null") {
        return RunProcess(VIREON_RENDER_PATH, args, stdinPath);
    }
    // Runs with the test's coefficient file and expects success.
    void Render(std::vector<std::string> args) {
        args.insert(args.begin(), {"--fir", fir});
        const ProcessResult r = Run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    static QImage Load(const std::string& path) {
        QImage image(QString::fromStdString(path), "PNG");
        EXPECT_FALSE(image.isNull()) << path;
        return image;
    }
    // Bytes of the frames' magnitudes as the tool writes them (little-endian host).
    static std::string MagnitudeBytes(const Reference& r) {
        return std::string(reinterpret_cast<const char*>(r.magnitudes.data()),
                           r.magnitudes.size() * sizeof(float));
    }

    TempDir dir;
    std::string fir = dir / "fir.txt";
};

int Grey(const QImage& image, int x, int y) {
    return qRed(image.pixel(x, y));
}

// The row (counted from the bottom) of the brightest pixel of a column.
int BrightestRow(const QImage& image, int x) {
    int best = 0;
    for (int y = 1; y < image.height(); ++y)
        if (Grey(image, x, y) > Grey(image, x, best)) best = y;
    return image.height() - 1 - best;
}

// The window as the live program draws it: white, then one DrawSpectrum per frame.
QImage DriveWindow(const Reference& reference, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QImageSurface surface(image);
    auto renderer = std::make_unique<WaterfallRenderer>();
    for (int64_t k = 0; k < reference.frames; ++k)
        DrawSpectrum(*renderer, surface, width, height, reference.magnitudes.data() + k * 256, 256);
    return image;
}

TEST_F(RenderToolTest, WholeRecordingHasOneColumnPerFrameDrawnAsTheWindowDrawsIt) {
    const auto samples = ToneU8(1000, 16000);
    WriteU8Wav(dir / "tone.wav", samples);
    Render({"-o", dir / "tone.png", dir / "tone.wav"});

    const QImage picture = Load(dir / "tone.png");
    ASSERT_EQ(picture.width(), 16000 / SamplesPerFrame);  // 62 frames
    ASSERT_EQ(picture.height(), 298);
    EXPECT_TRUE(picture.isGrayscale());

    // A window one column wider than the frame count ends with frame k at x = k - 1, which is
    // where the whole-recording picture puts it.
    const Reference reference = RunReferenceChain(samples, fir);
    ASSERT_EQ(reference.frames, picture.width());
    const QImage window = DriveWindow(reference, picture.width() + 1, 298);
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < 298; ++y)
            ASSERT_EQ(Grey(picture, x, y), Grey(window, x, y)) << "x " << x << " y " << y;
}

TEST_F(RenderToolTest, ToneOf1000HzIsBrightestAtSpectrumIndex80) {
    WriteU8Wav(dir / "tone.wav", ToneU8(1000, 16000));
    // At a height of 256 every row is one spectrum index.
    Render({"--height", "256", "-o", dir / "h256.png", dir / "tone.wav"});
    Render({"-o", dir / "h298.png", dir / "tone.wav"});
    const QImage square = Load(dir / "h256.png");
    const QImage tall = Load(dir / "h298.png");
    ASSERT_EQ(square.height(), 256);
    // From frame 4 on the whole transform span holds the tone.
    for (int x = 3; x < square.width(); ++x) {
        EXPECT_EQ(BrightestRow(square, x), 80) << "column " << x;
        EXPECT_NEAR(BrightestRow(tall, x) * 256 / 298, 80, 1) << "column " << x;
    }
}

// A 44.1 kHz 16-bit stereo recording through the resampler: a 1000 Hz tone lands on its bin,
// and a 6000 Hz one, which would fold onto 2000 Hz, leaves that bin at least 60 dB below it.
TEST_F(RenderToolTest, ResamplingKeepsTonesOnTheirBinsAndFoldsNothingBack) {
    std::vector<float> peaks;
    for (const double hz : {1000.0, 6000.0}) {
        std::vector<float> frames;
        for (int n = 0; n < 88200; ++n) {  // two seconds
            const float v = 0.4f * static_cast<float>(std::sin(2 * M_PI * hz * n / 44100.0));
            frames.push_back(v);
            frames.push_back(v);
        }
        const std::string name = dir / ("tone" + std::to_string(int(hz)));
        WriteWav(name + ".wav", frames, 2, 44100, SF_FORMAT_PCM_16);
        Render({"--magnitudes", name + ".f32", "-o", name + ".png", name + ".wav"});
        const std::string bytes = ReadBytes(name + ".f32");
        ASSERT_EQ(bytes.size(), 62u * 256 * sizeof(float)) << hz;
        std::vector<float> m(bytes.size() / sizeof(float));
        std::memcpy(m.data(), bytes.data(), bytes.size());
        // From frame 4 on the whole transform span holds the tone: bin 80 is 1000 Hz, bin 176
        // is 2000 Hz (1500 Hz + (bin - 128) x 8000/768).
        float at1000 = 0, at2000 = 0;
        for (std::size_t k = 3; k + 1 < 62; ++k) {
            const float* frame = m.data() + k * 256;
            if (hz == 1000.0) {
                EXPECT_EQ(std::max_element(frame, frame + 256) - frame, 80) << "frame " << k;
            }
            at1000 = std::max(at1000, frame[80]);
            at2000 = std::max(at2000, frame[176]);
        }
        peaks.push_back(hz == 1000.0 ? at1000 : at2000);
    }
    EXPECT_GT(peaks[0], 0.0f);
    EXPECT_LE(peaks[1], peaks[0] / 1000) << "the 6000 Hz tone folds onto 2000 Hz";
}

TEST_F(RenderToolTest, ChannelsAreAveragedSoOppositeChannelsGiveSilence) {
    std::vector<float> frames;
    for (int n = 0; n < 8000; ++n) {
        const float v = 0.5f * static_cast<float>(std::sin(2 * M_PI * 1000.0 * n / 8000.0));
        frames.push_back(v);
        frames.push_back(-v);
    }
    WriteWav(dir / "opposite.wav", frames, 2, 8000, SF_FORMAT_FLOAT);
    Render({"--magnitudes", dir / "m.f32", "-o", dir / "opposite.png", dir / "opposite.wav"});
    const std::string magnitudes = ReadBytes(dir / "m.f32");
    ASSERT_EQ(magnitudes.size(), 31u * 256 * sizeof(float));
    EXPECT_EQ(magnitudes, std::string(magnitudes.size(), '\0'));
    const QImage picture = Load(dir / "opposite.png");
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y) ASSERT_EQ(Grey(picture, x, y), 0);
}

TEST_F(RenderToolTest, EveryWayOfGivingTheSameBytesGivesTheSameMagnitudes) {
    // A tone plus a little of everything from 0 to 255, so that every byte value is exercised;
    // long enough to be read in several pieces.
    auto samples = ToneU8(730, 140'000, 90);
    for (int b = 0; b < 256; ++b) samples.push_back(static_cast<uint8_t>(b));
    const Reference reference = RunReferenceChain(samples, fir);
    ASSERT_EQ(reference.frames, static_cast<int64_t>(samples.size()) / SamplesPerFrame);

    WriteU8Wav(dir / "u8.wav", samples);
    WriteBytes(dir / "plain.u8", samples);
    WriteBytes(dir / "plain.RAW", samples);
    WriteBytes(dir / "plain.bin", samples);
    std::vector<float> exact;  // (b - 128) / 128 is how a sound file stores byte b
    for (uint8_t b : samples) exact.push_back(static_cast<float>(b - 128) / 128.0f);
    WriteWav(dir / "float.wav", exact, 1, 8000, SF_FORMAT_FLOAT);

    struct Case {
        std::string name;
        std::vector<std::string> args;
        std::string stdinPath = "/dev/null";
    };
    const std::vector<Case> cases = {
        {"8-bit WAV", {dir / "u8.wav"}},
        {".u8 file", {dir / "plain.u8"}},
        {".RAW file", {dir / "plain.RAW"}},
        {"--raw", {"--raw", dir / "plain.bin"}},
        {"standard input", {"-"}, dir / "plain.u8"},
        {"float WAV", {dir / "float.wav"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--fir",        fir,          "-o", dir / "out.png",
                                         "--magnitudes", dir / "m.f32"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = Run(args, c.stdinPath);
        ASSERT_EQ(r.exitCode, 0) << c.name << ": " << r.err;
        EXPECT_TRUE(ReadBytes(dir / "m.f32") == MagnitudeBytes(reference)) << c.name;
        EXPECT_EQ(Load(dir / "out.png").width(), reference.frames) << c.name;
    }
}

TEST_F(RenderToolTest, StartAndDurationKeepTheFramesComputedInTheSpan) {
    WriteU8Wav(dir / "tone.wav", ToneU8(1200, 16000));  // frames 1 .. 62, frame k at 0.031875 k s
    Render({"-o", dir / "full.png", dir / "tone.wav"});
    const QImage full = Load(dir / "full.png");
    ASSERT_EQ(full.width(), 62);

    struct Case {
        std::vector<std::string> span;
        int firstFrame, lastFrame;
    };
    const std::vector<Case> cases = {
        {{"--start", "0.5", "--duration", "0.25"}, 16, 23},
        // Boundaries that fall exactly on frames 1 and 3: the start is in, the end is out.
        {{"--start", "0.031875", "--duration", "0.06375"}, 1, 2},
        {{"--start", "0.031874"}, 1, 62},
        {{"--start", "0.031876"}, 2, 62},
        {{"--duration", "0.1"}, 1, 3},
        {{"--start", "1.9"}, 60, 62},
        {{"--start", "0", "--duration", "1000"}, 1, 62},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--fir",        fir,          "-o", dir / "part.png",
                                         "--magnitudes", dir / "m.f32"};
        args.insert(args.end(), c.span.begin(), c.span.end());
        args.push_back(dir / "tone.wav");
        const ProcessResult r = Run(args);
        ASSERT_EQ(r.exitCode, 0) << c.span[1] << ": " << r.err;
        const QImage part = Load(dir / "part.png");
        ASSERT_EQ(part.width(), c.lastFrame - c.firstFrame + 1) << c.span[1];
        EXPECT_EQ(part, full.copy(c.firstFrame - 1, 0, part.width(), 298)) << c.span[1];
        // The magnitudes always hold every frame.
        EXPECT_EQ(ReadBytes(dir / "m.f32").size(), 62u * 256 * sizeof(float));
    }

    const ProcessResult none =
        Run({"--fir", fir, "-o", dir / "none.png", "--start", "2", dir / "tone.wav"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("no frame in the selected span"), std::string::npos) << none.err;
    EXPECT_FALSE(Exists(dir / "none.png"));
}

TEST_F(RenderToolTest, WindowPictureIsWhatTheLiveWindowShowsAtTheEnd) {
    const auto samples = ToneU8(1800, 16000);
    WriteU8Wav(dir / "tone.wav", samples);
    const Reference reference = RunReferenceChain(samples, fir);
    for (int width : {40, 100}) {  // narrower and wider than the 62 frames
        const std::string out = dir / ("window" + std::to_string(width) + ".png");
        Render({"--window", std::to_string(width), "--height", "100", "-o", out, dir / "tone.wav"});
        const QImage picture = Load(out).convertToFormat(QImage::Format_RGB32);
        const QImage expected = DriveWindow(reference, width, 100);
        EXPECT_EQ(picture, expected) << width;
    }
    // Columns the 62 frames have not reached are still white.
    const QImage wide = Load(dir / "window100.png");
    EXPECT_EQ(wide.pixel(100 - 64, 50), qRgb(255, 255, 255));
    EXPECT_NE(wide.pixel(100 - 63, 50), qRgb(255, 255, 255));
}

TEST_F(RenderToolTest, RecordingShorterThanOneFrame) {
    WriteBytes(dir / "short.u8", ToneU8(1000, SamplesPerFrame - 1));
    WriteBytes(dir / "one.u8", ToneU8(1000, SamplesPerFrame));

    const ProcessResult r = Run({"--fir", fir, "--magnitudes", dir / "m.f32", dir / "short.u8"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(dir / "short.u8"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no complete frame"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir / "short.png"));
    EXPECT_FALSE(Exists(dir / "m.f32"));

    Render({dir / "one.u8"});
    EXPECT_EQ(Load(dir / "one.png").width(), 1);

    // The window has nothing to scroll in yet: it stays white, which is a valid picture.
    const ProcessResult w = Run({"--fir", fir, "--window", "30", "--height", "20", "--magnitudes",
                                 dir / "w.f32", "-o", dir / "w.png", dir / "short.u8"});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    EXPECT_NE(w.err.find("no complete frame"), std::string::npos) << w.err;
    QImage white(30, 20, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(Load(dir / "w.png").convertToFormat(QImage::Format_RGB32), white);
    EXPECT_EQ(ReadBytes(dir / "w.f32"), "");
}

// A recording of several pieces (the tool runs them on all cores): the magnitudes are those of
// one chain run over the whole, and the --split pictures, side by side, are the whole picture.
TEST_F(RenderToolTest, SplitPicturesOfALongRecordingJoinIntoTheWholePicture) {
    std::vector<uint8_t> samples = ToneU8(900, 8000 * 150, 60);
    uint32_t noise = 1;
    for (auto& s : samples) s = uint8_t(s + ((noise = noise * 1664525u + 1013904223u) >> 29));
    WriteBytes(dir / "long.u8", samples);
    Render({"--magnitudes", dir / "m.f32", "-o", dir / "whole.png", dir / "long.u8"});
    EXPECT_TRUE(ReadBytes(dir / "m.f32") == MagnitudeBytes(RunReferenceChain(samples, fir)));
    Render({"--split", "40", "-o", dir / "part.png", dir / "long.u8"});
    const QImage whole = Load(dir / "whole.png");
    ASSERT_EQ(whole.width(), 8000 * 150 / SamplesPerFrame);
    // Frame k is computed at 0.031875 k s: frames 1..1254 come before 40 s, and so on.
    const std::pair<const char*, int> parts[] = {{"part-0001.png", 1254},
                                                 {"part-0002.png", 1255},
                                                 {"part-0003.png", 1255},
                                                 {"part-0004.png", 941}};
    int x = 0;
    for (const auto& [name, width] : parts) {
        SCOPED_TRACE(name);
        const QImage part = Load(dir / name);
        EXPECT_EQ(part.width(), width);
        EXPECT_EQ(part, whole.copy(x, 0, part.width(), whole.height()));
        x += part.width();
    }
    EXPECT_EQ(x, whole.width());
    EXPECT_FALSE(Exists(dir / "part-0005.png"));
}

TEST_F(RenderToolTest, PictureTooWideForPngIsRefusedBeforeReading) {
    // A sparse file: a million and more frames' worth of samples that take no disk space.
    const std::string huge = dir / "huge.u8";
    WriteBytes(huge, std::string());
    std::filesystem::resize_file(huge, 255ull * 1'000'100);
    const ProcessResult r = Run({"--fir", fir, "-o", dir / "huge.png", huge});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(dir / "huge.png"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("more than a PNG can hold"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir / "huge.png"));
}

TEST_F(RenderToolTest, DefaultOutputAndCoefficientFileSitBesideTheInputAndTheProgram) {
    // A copy of the program in its own directory, with the test's filter as its fir1.txt.
    std::filesystem::create_directory(dir / "bin");
    std::filesystem::copy_file(VIREON_RENDER_PATH, dir / "bin/vireon-render");
    std::filesystem::permissions(dir / "bin/vireon-render", std::filesystem::perms::owner_all);
    WriteBytes(dir / "bin/fir1.txt", LowPassFirText());
    const auto samples = ToneU8(1000, 4000);
    WriteU8Wav(dir / "rec.wav", samples);

    ProcessResult r =
        RunProcess(dir / "bin/vireon-render", {"--magnitudes", dir / "m.f32", dir / "rec.wav"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Load(dir / "rec.png").width(), 4000 / SamplesPerFrame);
    EXPECT_TRUE(ReadBytes(dir / "m.f32") == MagnitudeBytes(RunReferenceChain(samples, fir)));

    std::filesystem::remove(dir / "bin/fir1.txt");
    r = RunProcess(dir / "bin/vireon-render", {"-o", dir / "x.png", dir / "rec.wav"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(dir / "bin/fir1.txt"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not found"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir / "x.png"));
}

TEST_F(RenderToolTest, FailuresNameTheFileAndLeaveTheOutputsAsTheyWere) {
    WriteU8Wav(dir / "tone.wav", ToneU8(1000, 4000));
    WriteBytes(dir / "notes.wav", std::string("these are not samples\n"));
    WriteBytes(dir / "letters.txt", std::string("NTaps=abc\r\n"));
    WriteBytes(dir / "short.txt", std::string("NTaps=3\r\n0.25\r\n0.5\r\n"));
    WriteBytes(dir / "empty.txt", std::string());
    WriteBytes(dir / "file", std::string("x"));
    std::filesystem::create_directory(dir / "adir");
    WriteBytes(dir / "out.png", std::string("old picture"));
    WriteBytes(dir / "m.f32", std::string("old magnitudes"));
    // A rename would replace these no matter what: they must be refused instead.
    WriteBytes(dir / "locked.png", std::string("read-only picture"));
    ASSERT_EQ(::chmod((dir / "locked.png").c_str(), 0444), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);

    struct Case {
        std::string name;
        std::vector<std::string> args;
        std::string mustMention;  // besides the file's name
        std::string file;
    };
    const std::string tone = dir / "tone.wav";
    const std::vector<Case> cases = {
        {"missing input", {"--fir", fir, dir / "absent.wav"}, "No such file", dir / "absent.wav"},
        {"unsupported input", {"--fir", fir, dir / "notes.wav"}, "unsupported", dir / "notes.wav"},
        {"directory input", {"--fir", fir, dir / "adir"}, "directory", dir / "adir"},
        {"coefficient file with a bad tap count",
         {"--fir", dir / "letters.txt", tone},
         "'abc' is not a valid integer value",
         dir / "letters.txt"},
        {"coefficient file too short",
         {"--fir", dir / "short.txt", tone},
         "List index out of bounds (3)",
         dir / "short.txt"},
        {"empty coefficient file",
         {"--fir", dir / "empty.txt", tone},
         "'' is not a valid integer value",
         dir / "empty.txt"},
        {"missing coefficient file",
         {"--fir", dir / "nofir.txt", tone},
         "not found",
         dir / "nofir.txt"},
        {"coefficient path is a directory",
         {"--fir", dir / "adir", tone},
         "not found",
         dir / "adir"},
        {"output in a missing directory",
         {"--fir", fir, "-o", dir / "nodir/out.png", tone},
         "cannot create",
         dir / "nodir/out.png"},
        {"output below a file",
         {"--fir", fir, "-o", dir / "file/out.png", tone},
         "cannot create",
         dir / "file/out.png"},
        {"output is a directory",
         {"--fir", fir, "-o", dir / "adir", tone},
         "directory",
         dir / "adir"},
        {"magnitudes unwritable",
         {"--fir", fir, "--magnitudes", dir / "nodir/m.f32", tone},
         "cannot create",
         dir / "nodir/m.f32"},
        {"output is read-only (even for root)",
         {"--fir", fir, "-o", dir / "locked.png", tone},
         "read-only",
         dir / "locked.png"},
        {"output is a FIFO",
         {"--fir", fir, "-o", dir / "pipe", tone},
         "not a regular file",
         dir / "pipe"},
    };
    const auto before = dir.Entries();
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        // Every case would write both files if it succeeded.
        if (std::find(args.begin(), args.end(), "-o") == args.end())
            args.insert(args.begin(), {"-o", dir / "out.png"});
        if (std::find(args.begin(), args.end(), "--magnitudes") == args.end())
            args.insert(args.begin(), {"--magnitudes", dir / "m.f32"});
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 1) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(c.file), std::string::npos) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(c.mustMention), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name << ": " << r.err;
        EXPECT_EQ(ReadBytes(dir / "out.png"), "old picture") << c.name;
        EXPECT_EQ(ReadBytes(dir / "m.f32"), "old magnitudes") << c.name;
        EXPECT_EQ(dir.Entries(), before) << c.name << ": a temporary file was left behind";
    }
    EXPECT_EQ(ReadBytes(dir / "locked.png"), "read-only picture");
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(RenderToolTest, WrongCommandLinesExitWith2AndWriteNothing) {
    WriteU8Wav(dir / "tone.wav", ToneU8(1000, 4000));
    WriteBytes(dir / "pic.png", std::string("not a recording"));
    const std::string tone = dir / "tone.wav";
    const std::vector<std::vector<std::string>> cases = {
        {},
        {tone, dir / "other.wav"},
        {"--bogus", tone},
        {"-x", tone},
        {"--height", "0", tone},
        {"--height", "16385", tone},
        {"--height", "12px", tone},
        {"--window", "0", tone},
        {"--window", "-5", tone},
        {"--start", "-1", tone},
        {"--start", "1e3", tone},
        {"--start", "1,5", tone},
        {"--duration", "0", tone},
        {"--duration", "", tone},
        {"--window", "10", "--start", "1", tone},
        {"-"},
        {"--raw", dir / "pic.png"},
        {"-o", dir / "same", "--magnitudes", dir / "same", tone},
        {"--help=yes"},
        {tone, "-o"},
    };
    const auto before = dir.Entries();
    for (const auto& args : cases) {
        std::vector<std::string> withFir = {"--fir", fir};
        withFir.insert(withFir.end(), args.begin(), args.end());
        const ProcessResult r = Run(withFir);
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        EXPECT_EQ(r.exitCode, 2) << shown << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << shown << r.err;
        EXPECT_EQ(dir.Entries(), before) << shown;
    }
}

TEST_F(RenderToolTest, HelpAndVersion) {
    ProcessResult r = Run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with("Usage: vireon-render [options] INPUT")) << r.out;
    EXPECT_NE(r.out.find("0.031875 k seconds"), std::string::npos)
        << "the help defines the frame times";
    r = Run({"-V"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.starts_with(std::string("vireon-render ") + VIREON_VERSION + "\n")) << r.out;
    EXPECT_NE(r.out.find("\nkernels: fir "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nresampler: libsoxr"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace vireon::testing
