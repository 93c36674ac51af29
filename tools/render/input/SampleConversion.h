#pragma once
// What a sound card does to the signal it records at 8 bits: one channel, rounded to the
// nearest step, clipped, with 128 as silence.
#include <cstddef>
#include <cstdint>

namespace vireon::render {

// Full scale is -1 .. +1 as libsndfile normalises it; an unsigned 8-bit sample b read this way
// is (b - 128) / 128, so it comes back as b exactly. NaN counts as silence.
uint8_t QuantizeSample(double x);

// Averages the channels of interleaved frames into mono.
void MixToMono(const float* interleaved, std::size_t frames, int channels, float* mono);

}  // namespace vireon::render
