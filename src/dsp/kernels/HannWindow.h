#pragma once
// The spectrum engine's window: the ring's n samples, oldest first (from slot writeIndex on,
// wrapping at n), times w = 1 - cosTable[i] into the work arrays. The weight is formed in double
// and not rounded; only the products are rounded to float. Every kernel forms in each lane what
// the portable one forms.
#include <cstdint>

namespace vireon {

using WindowKernel = void (*)(const float* ringRe, const float* ringIm, int32_t writeIndex,
                              int32_t n, const float* cosTable, float* workRe, float* workIm);

void HannWindowPortable(const float* ringRe, const float* ringIm, int32_t writeIndex, int32_t n,
                        const float* cosTable, float* workRe, float* workIm);
// Built for x86-64 only.
#if defined(__x86_64__)
void HannWindowSse2(const float* ringRe, const float* ringIm, int32_t writeIndex, int32_t n,
                    const float* cosTable, float* workRe, float* workIm);
#endif

}  // namespace vireon
