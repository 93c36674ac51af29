// One waterfall column: logarithms, the pixel column and the one-pixel scroll.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/dsp/BenchSurface.h"
#include "dsp/Waterfall.h"

namespace vireon::bench {
namespace {

void BM_DrawSpectrum(benchmark::State& state) {
    const auto width = int32_t(state.range(0));
    const auto height = int32_t(state.range(1));
    BenchCanvas canvas(width, height);
    auto renderer = std::make_unique<WaterfallRenderer>();
    std::vector<float> values(256);
    for (int i = 0; i < 256; ++i)
        values[std::size_t(i)] = 1000.0f * std::exp(-0.01f * float((i - 80) * (i - 80)));
    for (auto _ : state) {
        DrawSpectrum(*renderer, *canvas.surface, width, height, values.data(), 256);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawSpectrum)->Args({605, 298})->Args({1918, 1012})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vireon::bench
