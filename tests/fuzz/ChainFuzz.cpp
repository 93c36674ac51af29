// The front end and the column renderer on arbitrary samples, with arbitrary finite
// coefficients, spectrum sizes and picture sizes taken from the input's first bytes:
//   byte 0      spectrum size 2^(1 + b % 12), and whether the cosine filter differs
//   byte 1..2   picture width, byte 3..4 picture height (1..512 each)
//   byte 5      the surface: as large as the picture, or smaller in either direction
//   byte 6..7   sine tap count (0..1024), byte 8..9 cosine tap count when it differs
//   then        up to 64 coefficient floats per filter (repeated over the taps), the rest samples
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "dsp/SignalChain.h"
#include "dsp/Waterfall.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using vireon::fuzz::ByteReader;
using vireon::fuzz::Fail;

constexpr int32_t MaxSide = 512;
constexpr int32_t MaxDistinctCoefficients = 64;

void LoadCoefficients(vireon::FirFilter& filter, int32_t taps, ByteReader& in) {
    float distinct[MaxDistinctCoefficients];
    const int32_t count = std::min(taps, MaxDistinctCoefficients);
    for (int32_t i = 0; i < count; ++i) {
        const float c = in.Float();
        distinct[i] = std::isfinite(c) ? c : 0.0f;
    }
    filter.TapCount = taps;
    for (int32_t i = 0; i < taps; ++i) {
        filter.Coefficients[i] = distinct[i % count];
        filter.DelayLine[i] = 0.0f;
    }
}

class PictureSink final : public vireon::FrameSink {
public:
    PictureSink(int32_t width, int32_t height, vireon::ImageSurface& surface)
        : width_(width), height_(height), surface_(surface) {}
    void DrawSpectrum(const float* values, int32_t count) override {
        vireon::DrawSpectrum(renderer_, surface_, width_, height_, values, count);
        // An infinite magnitude (coefficients near the float range overflow the sums) gives 0.
        if (!(renderer_.Scale >= 0.0f) || !std::isfinite(renderer_.Scale))
            Fail("a column scale that is not a number");
        ++frames;
    }
    int64_t frames = 0;

private:
    vireon::WaterfallRenderer renderer_;
    int32_t width_, height_;
    vireon::ImageSurface& surface_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    const uint8_t shape = in.Byte();
    const int32_t n = int32_t{1} << (1 + shape % 12);
    const bool separateCos = (shape & 0x80) != 0;
    const int32_t width = 1 + in.Word() % MaxSide;
    const int32_t height = 1 + in.Word() % MaxSide;
    const uint8_t surfaceShape = in.Byte();
    const int32_t surfaceWidth = (surfaceShape & 1) ? 1 + (surfaceShape >> 1) % width : width;
    const int32_t surfaceHeight = (surfaceShape & 2) ? 1 + (surfaceShape >> 2) % height : height;
    const int32_t sinTaps = in.Word() % (vireon::FirCapacity + 1);
    const int32_t cosTaps = separateCos ? in.Word() % (vireon::FirCapacity + 1) : sinTaps;

    static auto chain = std::make_unique<vireon::SignalChain>();
    // Init's tables cost more than a short input's whole run: one engine per size, made once.
    static std::unique_ptr<vireon::SpectrumEngine> engines[12];
    auto& engine = engines[shape % 12];
    if (!engine) {
        engine = std::make_unique<vireon::SpectrumEngine>();
        engine->Init(n);
    }
    *chain = vireon::SignalChain{};
    chain->Engine = *engine;
    chain->Decimator.Factor = vireon::DecimationFactor;
    LoadCoefficients(chain->FilterSin, sinTaps, in);
    if (separateCos)
        LoadCoefficients(chain->FilterCos, cosTaps, in);
    else
        chain->FilterCos = chain->FilterSin;

    vireon::fuzz::StrictSurface surface(surfaceWidth, surfaceHeight);
    PictureSink sink(width, height, surface);
    // Long filters cost their length per sample: they get fewer samples, but still a few frames.
    const int32_t longest = std::max({sinTaps, cosTaps, 1});
    const std::size_t budget =
        std::max<std::size_t>(600, (std::size_t{1} << 18) / static_cast<std::size_t>(longest));
    // Two calls, so a block boundary falls inside the samples as well as at their start.
    const std::size_t left = std::min(in.Left(), budget);
    const std::size_t half = left / 2 + (left & 1) * 3;
    const std::size_t first = std::min(half, left);
    vireon::ProcessSamples(*chain, in.Rest(), static_cast<int32_t>(first), sink);
    vireon::ProcessSamples(*chain, in.Rest() + first, static_cast<int32_t>(left - first), sink);

    // One frame every 85 kept samples, one sample kept in three.
    const int64_t expectedFrames = static_cast<int64_t>(left) / 3 / vireon::KeptSamplesPerFrame;
    if (sink.frames != expectedFrames) Fail("frames do not follow the samples");
    if (!std::isfinite(chain->OscillatorPhase)) Fail("the oscillator phase ran away");
    return 0;
}
