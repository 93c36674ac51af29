#pragma once
// The mixer's kernels: for a run of samples, each byte less 128 times the sine and the cosine of
// its phase, in double, rounded to float. A kernel computes its own sine and cosine, close
// enough to the C library's that the rounded products are the library's whenever they are not
// near a float boundary; it marks those that are (and any phase outside one turn) as unsure, for
// the caller to work out with the library itself (MixExactly in dsp/Mixer).
#include <cstdint>

namespace vireon {

using MixKernel = void (*)(const double* phases, const uint8_t* bytes, int32_t count, float* s,
                           float* c, uint8_t* unsure);

void MixPortable(const double* phases, const uint8_t* bytes, int32_t count, float* s, float* c,
                 uint8_t* unsure);
// Built for x86-64 only.
#if defined(__x86_64__)
void MixAvx2(const double* phases, const uint8_t* bytes, int32_t count, float* s, float* c,
             uint8_t* unsure);
#endif

}  // namespace vireon
