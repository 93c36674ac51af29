// vireon-render's readers of every recording libsndfile reads, and its output failures, on
// POSIX systems.
#include <gtest/gtest.h>

#include <sndfile.h>
#include <sys/stat.h>
#include <cmath>
#include <limits>

#include "tests/render/TestRecordings.h"
#include "tests/render/linux/SoundFiles.h"
#include "tools/render/Render.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/input/RecordingReader.h"
#include "tools/render/input/SampleConversion.h"

namespace vireon::render {
namespace {

using vireon::testing::TempDir;

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
