// LogOfFloat beside glibc's log, on one spectrum frame's worth of magnitudes plus one, as the
// column renderer takes them; and the sine and cosine the Windows build would use.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/math/ExactMath.h"

namespace vireon::bench {
namespace {

// 256 magnitudes + 1 of a noisy spectrum with a few strong lines: 1 up to about 30,000.
std::vector<float> FrameValues() {
    std::vector<float> values(256);
    uint32_t state = 12345;
    for (std::size_t i = 0; i < values.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const float noise = float(state >> 8) * 0x1p-24f * 40.0f;
        const float line = (i % 37 == 5) ? 30000.0f / float(1 + i % 7) : 0.0f;
        values[i] = noise + line + 1.0f;
    }
    return values;
}

template <class Log>
void RunLogs(benchmark::State& state, Log log) {
    const std::vector<float> values = FrameValues();
    std::vector<float> out(values.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < values.size(); ++i) out[i] = log(values[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(values.size()));
}

void BM_LogGlibc(benchmark::State& state) {
    RunLogs(state, [](float f) { return static_cast<float>(std::log(double(f))); });
}
BENCHMARK(BM_LogGlibc);

void BM_LogOfFloat(benchmark::State& state) {
    RunLogs(state, LogOfFloat);
}
BENCHMARK(BM_LogOfFloat);

void BM_LogOfFloatSlowPath(benchmark::State& state) {
    RunLogs(state, [](float f) { return static_cast<float>(LogOfFloatSlow(f)); });
}
BENCHMARK(BM_LogOfFloatSlowPath);

template <class SinCos>
void RunSinCos(benchmark::State& state, SinCos sinCos) {
    std::vector<double> phases(256);
    for (std::size_t i = 0; i < phases.size(); ++i) phases[i] = double(i) * 0.0245436926;
    double sum = 0.0;
    for (auto _ : state) {
        for (double p : phases) sum += sinCos(p);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(phases.size()));
}

void BM_SinCosGlibc(benchmark::State& state) {
    RunSinCos(state, [](double p) { return std::sin(p) + std::cos(p); });
}
BENCHMARK(BM_SinCosGlibc);

void BM_ExactSinCos(benchmark::State& state) {
    RunSinCos(state, [](double p) { return ExactSin(p) + ExactCos(p); });
}
BENCHMARK(BM_ExactSinCos);

}  // namespace
}  // namespace vireon::bench
