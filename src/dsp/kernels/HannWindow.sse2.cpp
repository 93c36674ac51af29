// Two samples at a time in SSE2, which every x86-64 processor has.
#include "dsp/kernels/HannWindow.h"
#include "dsp/kernels/Sse2Floats.h"

namespace vireon {

void HannWindowSse2(const float* ringRe, const float* ringIm, int32_t writeIndex, int32_t n,
                    const float* cosTable, float* workRe, float* workIm) {
    int32_t r = writeIndex;
    int32_t i = 0;
    const __m128d one = _mm_set1_pd(1.0);
    // Two at a time where the ring does not wrap between them.
    for (; i + 1 < n; i += 2) {
        if (r + 1 >= n) {  // the last slot: one on its own, then on from the ring's start
            const double w = 1.0 - double(cosTable[i]);
            workRe[i] = static_cast<float>(w * double(ringRe[r]));
            workIm[i] = static_cast<float>(w * double(ringIm[r]));
            r = 0;
            --i;
            continue;
        }
        const __m128d w = _mm_sub_pd(one, Load2(cosTable + i));
        Store2(workRe + i, _mm_mul_pd(w, Load2(ringRe + r)));
        Store2(workIm + i, _mm_mul_pd(w, Load2(ringIm + r)));
        r += 2;
        if (r >= n) r = 0;
    }
    for (; i < n; ++i) {
        const double w = 1.0 - double(cosTable[i]);
        workRe[i] = static_cast<float>(w * double(ringRe[r]));
        workIm[i] = static_cast<float>(w * double(ringIm[r]));
        if (++r >= n) r = 0;
    }
}

}  // namespace vireon
