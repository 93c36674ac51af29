#pragma once
// The spectrum engine's magnitudes in display order: magnitude[i] = sqrt(re^2 + im^2) of work
// entry bitReverse[i] ^ 1, the sum of squares in double, the root in double, rounded to float.
// (bitReverse[i] ^ 1 == bitReverse[i ^ n/2]: the halves of the spectrum change places, so zero
// frequency lands in the middle.) Every kernel forms in each lane what the portable one forms.
#include <cstdint>

namespace vireon {

using MagnitudeKernel = void (*)(const float* workRe, const float* workIm,
                                 const int32_t* bitReverse, int32_t n, float* magnitude);

void MagnitudesPortable(const float* workRe, const float* workIm, const int32_t* bitReverse,
                        int32_t n, float* magnitude);
// Built for x86-64 only.
#if defined(__x86_64__)
void MagnitudesSse2(const float* workRe, const float* workIm, const int32_t* bitReverse, int32_t n,
                    float* magnitude);
#endif

}  // namespace vireon
