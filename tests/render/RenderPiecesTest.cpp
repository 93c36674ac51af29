// The pieces of vireon-render that are easy to get subtly wrong, tested on their own.
#include <gtest/gtest.h>

#include <sndfile.h>
#include <sys/stat.h>
#include <cmath>
#include <cstdio>
#include <limits>

#include "tests/render/TestRecordings.h"
#include "tools/render/output/ColumnStore.h"
#include "tools/render/chain/FrameSpan.h"
#include "tools/render/Progress.h"
#include "tools/render/input/RecordingReader.h"
#include "tools/render/Render.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/input/SampleConversion.h"

namespace vireon::render {
namespace {

using vireon::testing::TempDir;

TEST(ParseSeconds, ReadsDecimalSecondsExactly) {
    const std::vector<std::pair<std::string, int64_t>> good = {
        {"0", 0},
        {"12", 12'000'000'000},
        {"0.5", 500'000'000},
        {".25", 250'000'000},
        {"3.", 3'000'000'000},
        {"0.031875", 31'875'000},
        {"90.000000001", 90'000'000'001},
        {"1.0000000019", 1'000'000'001},  // beyond nanoseconds is dropped
        {"007", 7'000'000'000},
        {"1000000000", 1'000'000'000'000'000'000},
    };
    for (const auto& [text, ns] : good) EXPECT_EQ(ParseSeconds(text), ns) << text;
    for (std::string bad : {"", ".", "-1", "+1", "1e3", "1,5", " 1", "1 ", "abc", "1.2.3", "nan",
                            "inf", "1000000001", "99999999999999999999"})
        EXPECT_EQ(ParseSeconds(bad), std::nullopt) << bad;
}

TEST(FrameSpan, FrameKBelongsToTheMomentItIsComputed) {
    // Frame k is computed at sample 255 k: 31.875 ms per frame.
    EXPECT_EQ(FrameTimeNs(1), 31'875'000);
    EXPECT_EQ(FrameTimeNs(32), 1'020'000'000);
    struct Case {
        int64_t start, end, frame;
        bool in;
    };
    const std::vector<Case> cases = {
        {0, NoEnd, 1, true},
        {31'875'000, NoEnd, 1, true},  // the start is inclusive
        {31'875'001, NoEnd, 1, false},
        {31'875'001, NoEnd, 2, true},
        {0, 63'750'000, 2, false},  // the end is exclusive
        {0, 63'750'001, 2, true},
        {0, 1, 1, false},
        {0, NoEnd, 1'000'000'000, true},  // a frame count far beyond any recording
    };
    for (const Case& c : cases)
        EXPECT_EQ((FrameSpan{c.start, c.end}.Contains(c.frame)), c.in)
            << c.start << " " << c.end << " " << c.frame;
    // CountIn agrees with asking every frame.
    for (int64_t start :
         {int64_t{0}, int64_t{1}, int64_t{31'875'000}, int64_t{31'875'001}, int64_t{500'000'000}})
        for (int64_t end :
             {int64_t{1}, int64_t{63'750'000}, int64_t{63'750'001}, int64_t{750'000'000}, NoEnd})
            for (int64_t frames : {0, 1, 2, 30}) {
                int64_t expected = 0;
                for (int64_t k = 1; k <= frames; ++k) expected += FrameSpan{start, end}.Contains(k);
                EXPECT_EQ((FrameSpan{start, end}.CountIn(frames)), expected)
                    << start << " " << end << " " << frames;
            }
    EXPECT_TRUE(FrameSpan{}.IsWhole());
    EXPECT_FALSE((FrameSpan{0, 5}.IsWhole()));
}

TEST(ParseCount, AcceptsOnlyPlainNumbersInRange) {
    EXPECT_EQ(ParseCount("1", 10), 1);
    EXPECT_EQ(ParseCount("10", 10), 10);
    EXPECT_EQ(ParseCount("0010", 10), 10);
    for (std::string bad : {"", "0", "11", "-1", "+1", "1.0", "1e1", " 1", "99999999999"})
        EXPECT_EQ(ParseCount(bad, 10), std::nullopt) << bad;
}

TEST(RenderOptions, NamesAndDefaults) {
    const std::vector<std::pair<std::string, std::string>> outputs = {
        {"rec.wav", "rec.png"},
        {"dir.d/rec", "dir.d/rec.png"},
        {"a/b.c/.hidden", "a/b.c/.hidden.png"},
        {"x.tar.gz", "x.tar.png"},
        {"/abs/r.U8", "/abs/r.png"},
        {"./rec.", "./rec.png"},
    };
    for (const auto& [in, out] : outputs) EXPECT_EQ(DefaultOutputPath(in), out) << in;

    for (std::string raw : {"-", "a.u8", "a.U8", "b.raw", "dir/c.RaW"})
        EXPECT_TRUE(IsRawName(raw)) << raw;
    for (std::string other : {"u8", "a.u8.wav", "a.wav", "raw", "a_raw"})
        EXPECT_FALSE(IsRawName(other)) << other;
}

TEST(RenderOptions, ValueFormsAndImpliedSettings) {
    RenderOptions o =
        ParseArguments({"--output=x.png", "--height", "100", "--fir=f.txt", "rec.u8"});
    EXPECT_EQ(o.output, "x.png");
    EXPECT_EQ(o.height, 100);
    EXPECT_EQ(o.firPath, "f.txt");
    EXPECT_TRUE(o.raw);
    EXPECT_EQ(o.windowWidth, 0);

    o = ParseArguments({"-ox.png", "--", "-odd.wav"});
    EXPECT_EQ(o.output, "x.png");
    EXPECT_EQ(o.input, "-odd.wav");
    EXPECT_FALSE(o.raw);

    o = ParseArguments({"rec.wav", "--start", "1.5", "--duration=2"});
    EXPECT_EQ(o.output, "rec.png");
    EXPECT_EQ(o.height, DefaultHeight);
    EXPECT_EQ(o.span.startNs, 1'500'000'000);
    EXPECT_EQ(o.span.endNs, 3'500'000'000);

    o = ParseArguments({"--duration", "2", "rec.wav"});
    EXPECT_EQ(o.span.startNs, 0);
    EXPECT_EQ(o.span.endNs, 2'000'000'000);

    o = ParseArguments({"-o", "p.png", "--window", "605", "-"});
    EXPECT_EQ(o.windowWidth, 605);
    EXPECT_TRUE(o.raw);

    // Help and version need no input and win over anything wrong after them.
    EXPECT_TRUE(ParseArguments({"--help", "--height", "0"}).showHelp);
    EXPECT_TRUE(ParseArguments({"-V"}).showVersion);
    EXPECT_THROW(ParseArguments({"--output", "rec.wav"}), UsageError);  // no input left
}

TEST(QuantizeSample, RoundsClipsAndCentresAt128) {
    const std::vector<std::pair<float, int>> cases = {
        {0.0f, 128},
        {1.0f, 255},  // +128 steps is one past the top
        {-1.0f, 0},
        {0.5f / 128, 129},  // halfway rounds away from zero
        {-0.5f / 128, 127},
        {0.49f / 128, 128},
        {1.4f / 128, 129},
        {127.4f / 128, 255},
        {126.6f / 128, 255},
        {126.4f / 128, 254},
        {-127.6f / 128, 0},
        {3.0f, 255},
        {-3.0f, 0},
        {std::numeric_limits<float>::infinity(), 255},
        {-std::numeric_limits<float>::infinity(), 0},
        {std::numeric_limits<float>::quiet_NaN(), 128},
    };
    for (const auto& [x, b] : cases) EXPECT_EQ(QuantizeSample(x), b) << x;
    // A byte stored by a sound file as (b - 128) / 128 comes back unchanged.
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(QuantizeSample(static_cast<float>(b - 128) / 128.0f), b);
}

TEST(MixToMono, AveragesTheChannelsOfEachFrame) {
    const float stereo[] = {1.0f, 0.0f, 0.5f, -0.5f, -1.0f, -0.5f};
    float mono[3];
    MixToMono(stereo, 3, 2, mono);
    EXPECT_FLOAT_EQ(mono[0], 0.5f);
    EXPECT_FLOAT_EQ(mono[1], 0.0f);
    EXPECT_FLOAT_EQ(mono[2], -0.75f);
    const float three[] = {0.3f, 0.6f, 0.9f, 0.0f, 0.0f, 0.3f};
    MixToMono(three, 2, 3, mono);
    EXPECT_FLOAT_EQ(mono[0], 0.6f);
    EXPECT_FLOAT_EQ(mono[1], 0.1f);
}

TEST(ColumnStore, ColumnsBecomeTheImageLeftToRightAcrossBlocks) {
    constexpr int32_t height = 7;
    constexpr int64_t columns = 9000;  // more than two blocks
    ColumnStore store(height);
    EXPECT_TRUE(store.TakePicture().IsNull());
    for (int64_t c = 0; c < columns; ++c) {
        uint8_t* column = store.AppendColumn();
        for (int32_t y = 0; y < height; ++y)
            column[y] = static_cast<uint8_t>((c * 7 + y * 31) % 256);
    }
    EXPECT_EQ(store.Columns(), columns);
    const Picture image = store.TakePicture();
    ASSERT_EQ(image.width, columns);
    ASSERT_EQ(image.height, height);
    ASSERT_EQ(image.channels, 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < columns; ++x)
            ASSERT_EQ(image.Row(y)[x], (x * 7 + y * 31) % 256) << x << "," << y;
    EXPECT_EQ(store.Columns(), 0);
}

TEST(Render, OutputFailuresAreRenderErrorsNamingTheFileAndTheReason) {
    TempDir dir;
    vireon::testing::WriteBytes(dir / "fir.txt", vireon::testing::LowPassFirText());
    vireon::testing::WriteU8Wav(dir / "tone.wav", vireon::testing::ToneU8(1000, 4000));
    vireon::testing::WriteBytes(dir / "locked.png", std::string("old"));
    ASSERT_EQ(::chmod((dir / "locked.png").c_str(), 0444), 0);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-o", dir / "nodir/out.png"},
         dir / "nodir/out.png: cannot create: No such file or directory"},
        {{"-o", dir / "locked.png"}, dir / "locked.png: is read-only"},
        {{"--magnitudes", dir / "nodir/m.f32"},
         dir / "nodir/m.f32: cannot create: No such file or directory"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> all = {"--fir", dir / "fir.txt", dir / "tone.wav"};
        all.insert(all.begin(), args.begin(), args.end());
        try {
            Render(ParseArguments(all), dir / "fir.txt", stderr, false);
            ADD_FAILURE() << message;
        } catch (const RenderError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{"fir.txt", "locked.png", "tone.wav"}));
}

TEST(Progress, ShowsPercentagesOnlyForLongRecordingsWhenAsked) {
    auto capture = [](bool enabled, int64_t expected, std::vector<int64_t> updates) {
        FILE* out = std::tmpfile();
        {
            Progress progress(out, enabled, expected);
            for (int64_t u : updates) progress.Update(u);
        }
        std::rewind(out);
        std::string text;
        for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
        std::fclose(out);
        return text;
    };
    const int64_t tenMinutes = 8000 * 600;
    EXPECT_EQ(
        capture(true, tenMinutes, {0, 1000, tenMinutes / 2, tenMinutes / 2 + 10, tenMinutes + 5}),
        "\rvireon-render:   0%\rvireon-render:  50%\rvireon-render:  99%\r\033[K");
    EXPECT_EQ(capture(false, tenMinutes, {0, tenMinutes}), "");
    EXPECT_EQ(capture(true, 8000 * 30, {0, 8000 * 30}), "") << "half a minute is not worth it";
    EXPECT_EQ(capture(true, -1, {0, 8000 * 60, 8000 * 61, 8000 * 125}),
              "\rvireon-render: 0 min read\rvireon-render: 1 min read\rvireon-render: 2 min "
              "read\r\033[K");
}

std::vector<uint8_t> ReadAll(RecordingReader& reader, std::size_t chunk) {
    std::vector<uint8_t> all(chunk);
    std::size_t used = 0;
    while (std::size_t n = reader.Read(all.data() + used, chunk)) {
        used += n;
        all.resize(used + chunk);
    }
    all.resize(used);
    return all;
}

TEST(RecordingReader, PassesThroughConvertsAndResamples) {
    TempDir dir;
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<uint8_t>((i * 37) % 256));
    vireon::testing::WriteU8Wav(dir / "u8.wav", bytes);
    auto reader = OpenRecording(dir / "u8.wav", false);
    EXPECT_EQ(reader->ExpectedSamples(), 20000);
    EXPECT_EQ(ReadAll(*reader, 333), bytes);

    // 16-bit samples that are whole multiples of 256 quantise to exactly their top byte.
    std::vector<float> wide;
    for (uint8_t b : bytes) wide.push_back(static_cast<float>((b - 128) * 256) / 32768.0f);
    vireon::testing::WriteWav(dir / "s16.wav", wide, 1, 8000, SF_FORMAT_PCM_16);
    reader = OpenRecording(dir / "s16.wav", false);
    EXPECT_EQ(ReadAll(*reader, 4096), bytes);

    // An 8-bit mono WAV at another rate is not passed through: its length changes with the rate.
    vireon::testing::WriteU8Wav(dir / "u8at16k.wav", bytes, 16000);
    reader = OpenRecording(dir / "u8at16k.wav", false);
    EXPECT_EQ(reader->ExpectedSamples(), 10000);
    EXPECT_NEAR(static_cast<double>(ReadAll(*reader, 1000).size()), 10000, 2);

    // Up-sampling from a low rate works the other way round.
    std::vector<float> slow(1000, 0.25f);
    vireon::testing::WriteWav(dir / "slow.wav", slow, 1, 1000, SF_FORMAT_FLOAT);
    reader = OpenRecording(dir / "slow.wav", false);
    const auto upsampled = ReadAll(*reader, 65536);
    EXPECT_NEAR(static_cast<double>(upsampled.size()), 8000, 8);
    EXPECT_EQ(upsampled[4000], 160) << "a steady 0.25 is 32 steps above 128";

    // Many channels are read a few frames at a time; every frame still arrives, in order.
    constexpr int kChannels = 100;
    std::vector<float> wideFile;
    for (int i = 0; i < 5000; ++i)
        for (int c = 0; c < kChannels; ++c)
            wideFile.push_back(
                static_cast<float>((bytes[static_cast<std::size_t>(i)] - 128) * 256) / 32768.0f);
    vireon::testing::WriteWav(dir / "many.wav", wideFile, kChannels, 8000, SF_FORMAT_FLOAT);
    reader = OpenRecording(dir / "many.wav", false);
    EXPECT_EQ(ReadAll(*reader, 777), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 5000));

    // --raw reads the very bytes of any file, header included.
    reader = OpenRecording(dir / "u8.wav", true);
    const auto raw = ReadAll(*reader, 4096);
    EXPECT_EQ(raw.size(), 20000u + 44);
    EXPECT_EQ(reader->ExpectedSamples(), 20044);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), raw.end() - 20000));

    EXPECT_THROW(OpenRecording(dir.Path(), true), RenderError);
    EXPECT_THROW(OpenRecording(dir / "none.u8", true), RenderError);
}

// A compressed recording cut short anywhere, inside its headers too, either reads to an end or
// is refused with an error naming it. libsndfile leaks its Vorbis decoder's set-up when the
// headers are cut (suppressed for the leak checkers with the reason); nothing else may leak.
TEST(RecordingReader, TruncatedOggVorbisReadsToAnEndOrIsRefused) {
    TempDir dir;
    std::vector<float> tone;
    for (int i = 0; i < 8000; ++i)
        tone.push_back(0.5f * static_cast<float>(std::sin(2 * M_PI * 1000.0 * i / 8000.0)));
    vireon::testing::WriteSoundFile(dir / "whole.ogg", tone, 1, 8000,
                                    SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    const std::string whole = vireon::testing::ReadBytes(dir / "whole.ogg");
    ASSERT_GT(whole.size(), 1200u);
    EXPECT_EQ(ReadAll(*OpenRecording(dir / "whole.ogg", false), 4096).size(), tone.size());

    const std::string cut = dir / "cut.ogg";
    int refused = 0, read = 0;
    for (std::size_t length = 0; length < whole.size(); length += 61) {
        vireon::testing::WriteBytes(cut, whole.substr(0, length));
        try {
            auto reader = OpenRecording(cut, false);
            EXPECT_LE(ReadAll(*reader, 1000).size(), tone.size()) << length;
            ++read;
        } catch (const RenderError& e) {
            EXPECT_NE(std::string(e.what()).find(cut), std::string::npos) << e.what();
            ++refused;
        }
    }
    EXPECT_GT(refused, 0) << "cuts inside the headers are refused";
    EXPECT_GT(read, 0) << "cuts inside the audio read what is there";
}

}  // namespace
}  // namespace vireon::render
