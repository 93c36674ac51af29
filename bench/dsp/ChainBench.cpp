// The whole chain at the window's size, and the filter step on its own.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

#include "bench/dsp/BenchSurface.h"
#include "dsp/FirRun.h"
#include "dsp/SignalChain.h"
#include "dsp/Waterfall.h"
#include "dsp/kernels/Kernels.h"

namespace vireon::bench {
namespace {

constexpr int32_t SampleRate = 8000;

class SilentBoxes final : public MessageBoxService {
public:
    void Show(const std::string& text, const std::string&, int32_t) override {
        throw std::runtime_error(text);
    }
};

class WaterfallSink final : public FrameSink {
public:
    WaterfallSink(int32_t w, int32_t h) : canvas(w, h), width(w), height(h) {}
    void DrawSpectrum(const float* values, int32_t count) override {
        vireon::DrawSpectrum(renderer, *canvas.surface, width, height, values, count);
    }
    BenchCanvas canvas;
    WaterfallRenderer renderer;
    int32_t width, height;
};

// One second of a 1000 Hz tone with some noise, as 8-bit unsigned samples.
std::vector<uint8_t> OneSecond() {
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0.0, 4.0);
    std::vector<uint8_t> bytes(SampleRate);
    for (int i = 0; i < SampleRate; ++i) {
        double v = 128.0 + 60.0 * std::sin(2.0 * std::numbers::pi * 1000.0 * i / SampleRate) +
                   noise(random);
        bytes[std::size_t(i)] =
            static_cast<uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
    }
    return bytes;
}

std::unique_ptr<SignalChain> ShippedChain() {
    auto chain = std::make_unique<SignalChain>();
    SilentBoxes boxes;
    SetUpChain(*chain, VIREON_FIR_FILE, boxes);
    return chain;
}

// Blocks of 160 bytes, as the capture delivers them (20 ms each).
void BM_WholeChain(benchmark::State& state) {
    auto chain = ShippedChain();
    auto sink = std::make_unique<WaterfallSink>(605, 298);
    const auto bytes = OneSecond();
    for (auto _ : state) {
        for (int32_t start = 0; start < SampleRate; start += 160)
            ProcessSamples(*chain, bytes.data() + start, 160, *sink);
        benchmark::ClobberMemory();
    }
    // Seconds of audio per second of work.
    state.counters["x_realtime"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(std::to_string(chain->FilterSin.TapCount) + " taps, 605 x 298");
}
BENCHMARK(BM_WholeChain)->Unit(benchmark::kMillisecond);

void FillFilter(FirFilter& f, int32_t taps) {
    f.TapCount = taps;
    for (int32_t i = 0; i < taps; ++i) f.Coefficients[i] = 1.0f / float(i + 3);
}

// The two filters of one sample, one after the other.
void BM_TwoSteps(benchmark::State& state) {
    auto a = std::make_unique<FirFilter>(), b = std::make_unique<FirFilter>();
    FillFilter(*a, int32_t(state.range(0)));
    FillFilter(*b, int32_t(state.range(0)));
    float x = 1.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a->Step(x));
        benchmark::DoNotOptimize(b->Step(-x));
        x = -x;
    }
    state.counters["x_realtime"] =
        benchmark::Counter(double(state.iterations()) / SampleRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TwoSteps)->Arg(127);

// The same two filters stepped together.
void BM_StepPair(benchmark::State& state) {
    auto a = std::make_unique<FirFilter>(), b = std::make_unique<FirFilter>();
    FillFilter(*a, int32_t(state.range(0)));
    FillFilter(*b, int32_t(state.range(0)));
    float x = 1.0f, ya = 0.0f, yb = 0.0f;
    for (auto _ : state) {
        StepPair(*a, x, ya, *b, -x, yb);
        benchmark::DoNotOptimize(ya);
        benchmark::DoNotOptimize(yb);
        x = -x;
    }
    state.counters["x_realtime"] =
        benchmark::Counter(double(state.iterations()) / SampleRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StepPair)->Arg(127);

// The same two filters, a short run of samples at a time through the chosen kernel.
constexpr int32_t FirBlock = 8;
void BM_StepPairBlock(benchmark::State& state) {
    auto a = std::make_unique<FirFilter>(), b = std::make_unique<FirFilter>();
    FillFilter(*a, int32_t(state.range(0)));
    FillFilter(*b, int32_t(state.range(0)));
    float xa[FirBlock], xb[FirBlock], ya[FirBlock], yb[FirBlock];
    for (int32_t k = 0; k < FirBlock; ++k) xa[k] = float(k % 3), xb[k] = -float(k % 5);
    const FirKernel kernel = Chosen().fir.run;
    for (auto _ : state) {
        StepPairRun(*a, xa, ya, *b, xb, yb, FirBlock, KeptOutputs{0, 1, FirBlock}, kernel);
        benchmark::DoNotOptimize(ya);
        benchmark::DoNotOptimize(yb);
    }
    state.counters["x_realtime"] = benchmark::Counter(
        double(state.iterations()) * FirBlock / SampleRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StepPairBlock)->Arg(127);

}  // namespace
}  // namespace vireon::bench
