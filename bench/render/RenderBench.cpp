// vireon-render as a user runs it: the whole process on a 10-minute recording.
#include <benchmark/benchmark.h>

#include <sndfile.h>
#include <chrono>
#include <cmath>
#include <memory>

#include "tests/render/Subprocess.h"
#include "tests/render/TestRecordings.h"
#include "tests/render/linux/SoundFiles.h"

namespace {

using vireon::testing::RunProcess;
using vireon::testing::TempDir;

constexpr double RecordingSeconds = 600;
constexpr int SampleCount = static_cast<int>(RecordingSeconds * 8000);

// Made once: a slow sweep over the band with some noise, so that every column differs.
struct Recordings {
    TempDir dir;
    std::string u8Wav = dir / "ten-minutes.wav";
    std::string s16Wav = dir / "ten-minutes-44k.wav";

    Recordings() {
        std::vector<uint8_t> bytes(SampleCount);
        uint32_t noise = 12345;
        double phase = 0;
        for (int n = 0; n < SampleCount; ++n) {
            const double hz = 300 + 2400 * std::fmod(n / 8000.0, 60.0) / 60.0;
            phase += 2 * M_PI * hz / 8000;
            noise = noise * 1664525u + 1013904223u;
            const double v = 128 + 80 * std::sin(phase) + static_cast<double>(noise >> 28) - 8;
            bytes[static_cast<std::size_t>(n)] =
                static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
        }
        vireon::testing::WriteU8Wav(u8Wav, bytes);

        // Stereo: a tone on the left, another on the right.
        std::vector<float> wide(static_cast<std::size_t>(RecordingSeconds * 44100) * 2);
        for (std::size_t n = 0; n < wide.size() / 2; ++n) {
            const double t = static_cast<double>(n) / 44100;
            wide[2 * n] = 0.5f * static_cast<float>(std::sin(2 * M_PI * 1000.0 * t));
            wide[2 * n + 1] = 0.3f * static_cast<float>(std::sin(2 * M_PI * 1800.0 * t));
        }
        vireon::testing::WriteWav(s16Wav, wide, 2, 44100, SF_FORMAT_PCM_16);
    }
};

Recordings& Shared() {
    static Recordings recordings;
    return recordings;
}

void RunProgram(benchmark::State& state, const std::string& program,
                const std::vector<std::string>& options) {
    double total = 0;
    long peak = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto result = RunProcess(program, options);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result.exitCode != 0) {
            state.SkipWithError((program + " failed: " + result.err).c_str());
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
        peak = std::max(peak, result.peakMemoryKiB);
    }
    const double perRun = total / static_cast<double>(state.iterations());
    state.counters["seconds"] = perRun;
    state.counters["x_realtime"] = RecordingSeconds / perRun;
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
}

void RunTool(benchmark::State& state, const std::string& input, std::vector<std::string> options) {
    options.insert(options.end(), {"-o", Shared().dir / "out.png", input});
    RunProgram(state, VIREON_RENDER_PATH, options);
}

void BM_WholeRecordingPicture(benchmark::State& state) {
    RunTool(state, Shared().u8Wav, {});
}
void BM_WholeRecordingWithMagnitudes(benchmark::State& state) {
    RunTool(state, Shared().u8Wav, {"--magnitudes", Shared().dir / "out.f32"});
}
void BM_WindowOfDesignSize(benchmark::State& state) {
    RunTool(state, Shared().u8Wav, {"--window", "605"});
}
void BM_Resampled16BitStereoAt44100(benchmark::State& state) {
    RunTool(state, Shared().s16Wav, {});
}

// One picture per minute, each written as soon as its minute is complete.
void BM_SplitIntoMinutes(benchmark::State& state) {
    RunTool(state, Shared().u8Wav, {"--split", "60"});
}
// sox drawing a picture of the same size from the same file, for comparison.
void BM_SoxSpectrogramOfTheSameSize(benchmark::State& state) {
    Recordings& r = Shared();
    RunProgram(state, "/usr/bin/sox",
               {r.u8Wav, "-n", "spectrogram", "-x", std::to_string(SampleCount / 255), "-y", "298",
                "-r", "-m", "-o", r.dir / "sox.png"});
}

BENCHMARK(BM_WholeRecordingPicture)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_WholeRecordingWithMagnitudes)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(BM_WindowOfDesignSize)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_SplitIntoMinutes)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_SoxSpectrogramOfTheSameSize)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_Resampled16BitStereoAt44100)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
