// Two samples at a time in SSE2, which every x86-64 processor has.
#include "dsp/kernels/HannWindow.h"
#include "dsp/kernels/Sse2Floats.h"

namespace vireon {
namespace {

// count ring samples in a row, weighted by the table from cosTable on.
void WindowRun(const float* re, const float* im, const float* cosTable, float* workRe,
               float* workIm, int32_t count) {
    const __m128d one = _mm_set1_pd(1.0);
    int32_t i = 0;
    for (; i + 1 < count; i += 2) {
        const __m128d w = _mm_sub_pd(one, Load2(cosTable + i));
        Store2(workRe + i, _mm_mul_pd(w, Load2(re + i)));
        Store2(workIm + i, _mm_mul_pd(w, Load2(im + i)));
    }
    // The odd one out, as the portable kernel forms it.
    if (i < count) HannWindowPortable(re + i, im + i, 0, 1, cosTable + i, workRe + i, workIm + i);
}

}  // namespace

void HannWindowSse2(const float* ringRe, const float* ringIm, int32_t writeIndex, int32_t n,
                    const float* cosTable, float* workRe, float* workIm) {
    // The ring from its oldest slot to its end, then from its start.
    const int32_t older = n - writeIndex;
    WindowRun(ringRe + writeIndex, ringIm + writeIndex, cosTable, workRe, workIm, older);
    WindowRun(ringRe, ringIm, cosTable + older, workRe + older, workIm + older, writeIndex);
}

}  // namespace vireon
