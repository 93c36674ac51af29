#include "tools/render/input/SampleConversion.h"

#include <cmath>

namespace vireon::render {

uint8_t QuantizeSample(double x) {
    if (std::isnan(x)) return 128;
    const double level = std::round(x * 128.0) + 128.0;  // exact product; ties away from 0
    if (level <= 0.0) return 0;
    if (level >= 255.0) return 255;
    return static_cast<uint8_t>(level);
}

void MixToMono(const float* interleaved, std::size_t frames, int channels, float* mono) {
    if (channels == 1) {
        for (std::size_t i = 0; i < frames; ++i) mono[i] = interleaved[i];
        return;
    }
    for (std::size_t i = 0; i < frames; ++i) {
        double sum = 0.0;
        const float* frame = interleaved + i * static_cast<std::size_t>(channels);
        for (int c = 0; c < channels; ++c) sum += frame[c];
        mono[i] = static_cast<float>(sum / channels);
    }
}

}  // namespace vireon::render
