#pragma once
// Shared helpers for tests that run the front end.
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

#include "dsp/SignalChain.h"

namespace vireon::testing {

// Keeps a copy of every frame handed on.
class RecordingSink final : public FrameSink {
public:
    void DrawSpectrum(const float* values, int32_t count) override {
        frames.emplace_back(values, values + count);
    }
    std::vector<std::vector<float>> frames;
};

// A chain as the program sets it up before loading the filters.
inline std::unique_ptr<SignalChain> MakeChain() {
    auto chain = std::make_unique<SignalChain>();
    chain->Engine.Init(SpectrumSize);
    chain->Decimator.Factor = DecimationFactor;
    return chain;
}

// An 8-bit unsigned recording of a sine: 128 + amplitude * sin(2 pi f t), rounded.
inline std::vector<uint8_t> SineBytes(double frequency, double amplitude, int count,
                                      double sampleRate = 8000.0) {
    std::vector<uint8_t> bytes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double v =
            128.0 + amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / sampleRate);
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(std::lround(v));
    }
    return bytes;
}

}  // namespace vireon::testing
