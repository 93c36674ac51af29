#pragma once
// The oscillator and mixer: each byte less 128 times the sine and the cosine of the phase, in
// double, rounded to float, the phase stepping on after each byte.
#include <cstdint>

#include "dsp/kernels/Mix.h"

namespace vireon {

// One sample with the C library's sin and cos (dsp/math/ChainMath): the definition of the mixer.
void MixExactly(double phase, uint8_t byte, float& s, float& c);

// Mixes count bytes (at most MixRunCapacity) with the given kernel (dsp/kernels/Kernels lists
// them), stepping the phase as it goes; the samples the kernel is unsure of are worked out by
// MixExactly.
constexpr int32_t MixRunCapacity = 384;
void MixRun(float& phase, const uint8_t* bytes, int32_t count, float* s, float* c,
            MixKernel kernel);

}  // namespace vireon
