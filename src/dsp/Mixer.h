#pragma once
// The oscillator and mixer: each byte less 128 times the sine and the cosine of the phase, in
// double, rounded to float, the phase stepping on after each byte.
#include <cstdint>

namespace vireon {

// One sample with the C library's sin and cos: the definition of the mixer.
void MixExactly(double phase, uint8_t byte, float& s, float& c);

// A run of samples at once. A kernel computes its own sine and cosine, close enough to the
// library's that the rounded products are the library's whenever they are not near a float
// boundary; it marks those that are (and any odd phase) as unsure, for MixExactly.
using MixKernel = void (*)(const double* phases, const uint8_t* bytes, int32_t count, float* s,
                           float* c, uint8_t* unsure);

// Mixes count bytes (at most MixRunCapacity) with the given kernel (dsp/Kernels lists them),
// stepping the phase as it goes.
constexpr int32_t MixRunCapacity = 384;
void MixRun(float& phase, const uint8_t* bytes, int32_t count, float* s, float* c,
            MixKernel kernel);

void MixKernelPortable(const double*, const uint8_t*, int32_t, float*, float*, uint8_t*);
// Built for x86-64 only.
#if defined(__x86_64__)
void MixKernelAvx2(const double*, const uint8_t*, int32_t, float*, float*, uint8_t*);
#endif

}  // namespace vireon
