// Handling one returned capture buffer: the replacement made and queued, the block run through
// the signal chain (127-tap filters from the shipped fir1.txt), the buffer released. At the
// default setting a buffer holds 16 ms of sound; the handling must take well under that.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/capture/Capture.h"
#include "dsp/SignalChain.h"
#include "tests/support/FakeAudioInput.h"
#include "tests/support/FakeMessageBoxes.h"

namespace vireon {
namespace {

class ChainWindow final : public CaptureHost, public FrameSink {
public:
    explicit ChainWindow(bool runChain) : runChain_(runChain) {
        SetUpChain(chain, VIREON_FIR_FILE, boxes);
        if (chain.FilterSin.TapCount != 127 || !boxes.shown.empty()) {
            throw std::runtime_error("fir1.txt did not load with 127 taps");
        }
    }
    void ProcessSamples(const std::uint8_t* data, std::int32_t count) override {
        if (runChain_) vireon::ProcessSamples(chain, data, count, *this);
        benchmark::DoNotOptimize(data);
    }
    void DrawSpectrum(const float* values, std::int32_t count) override {
        benchmark::DoNotOptimize(values[count / 2]);
        ++frames;
    }
    void UpdateReceiveMenus() override {}

    testing::FakeMessageBoxes boxes;
    SignalChain chain;
    std::int64_t frames = 0;

private:
    bool runChain_;
};

// A 1000 Hz tone, 8-bit unsigned, one period being 8 samples.
std::vector<std::uint8_t> ToneBytes(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(
            128.0 + 100.0 * std::sin(2.0 * M_PI * 1000.0 * static_cast<double>(i) / 8000.0));
    }
    return bytes;
}

void HandleOneBuffer(benchmark::State& bench, bool runChain) {
    const std::int32_t multiplier = static_cast<std::int32_t>(bench.range(0));
    testing::FakeAudioInput audio;
    auto window = std::make_unique<ChainWindow>(runChain);
    CaptureState state;
    CaptureContext context{audio, window->boxes, *window, multiplier, nullptr};
    StartReceive(state, context);
    if (!state.Receiving || state.BuffersOutstanding != 10) {
        bench.SkipWithError("capture did not start");
        return;
    }
    audio.posted.clear();  // MM_WIM_OPEN
    const std::int32_t bytes = CaptureBufferBytes(multiplier);
    const std::vector<std::uint8_t> tone = ToneBytes(static_cast<std::size_t>(bytes));

    for (auto _ : bench) {
        audio.record(state.WaveInHandle, tone);  // the device hands one buffer back
        const WaveInMessage message = audio.posted.back();
        audio.posted.pop_back();
        DispatchWaveInMessage(state, context, message);
    }
    if (state.BuffersOutstanding != 10 || !window->boxes.shown.empty()) {
        bench.SkipWithError("a buffer went missing");
    }
    const double bufferUs = 1e6 * bytes / 8000.0;
    bench.counters["buffer_us"] = bufferUs;
    bench.counters["frames"] = static_cast<double>(window->frames);
    bench.SetItemsProcessed(bench.iterations());
    bench.SetBytesProcessed(bench.iterations() * bytes);

    StopReceive(state, context);
    audio.deliverAll([&](const WaveInMessage& m) { DispatchWaveInMessage(state, context, m); });
}

void ReturnedBufferThroughChain(benchmark::State& bench) {
    HandleOneBuffer(bench, true);
}
void ReturnedBufferCaptureOnly(benchmark::State& bench) {
    HandleOneBuffer(bench, false);
}

BENCHMARK(ReturnedBufferThroughChain)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReturnedBufferCaptureOnly)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vireon
