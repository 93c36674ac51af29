// Two magnitudes at a time in SSE2, which every x86-64 processor has.
#include "dsp/kernels/Magnitudes.h"
#include "dsp/kernels/Sse2Floats.h"

namespace vireon {

void MagnitudesSse2(const float* workRe, const float* workIm, const int32_t* bitReverse, int32_t n,
                    float* magnitude) {
    int32_t i = 0;
    for (; i + 1 < n; i += 2) {
        const int32_t p0 = bitReverse[i] ^ 1, p1 = bitReverse[i + 1] ^ 1;
        const __m128d re = _mm_set_pd(workRe[p1], workRe[p0]);
        const __m128d im = _mm_set_pd(workIm[p1], workIm[p0]);
        Store2(magnitude + i, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(re, re), _mm_mul_pd(im, im))));
    }
    if (i < n) MagnitudesPortable(workRe, workIm, bitReverse + i, n - i, magnitude + i);
}

}  // namespace vireon
