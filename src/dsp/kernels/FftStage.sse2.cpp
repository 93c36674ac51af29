// Two butterflies at a time in SSE2, which every x86-64 processor has.
#include "dsp/kernels/FftStage.h"
#include "dsp/kernels/Sse2Floats.h"

namespace vireon {

void FftStageSse2(float* re, float* im, int32_t n, int32_t h, int32_t d, const int32_t* bitReverse,
                  const float* cosTable, const float* sinTable) {
    // Blocks of one butterfly have nothing to pair.
    if (h < 2) return FftStagePortable(re, im, n, h, d, bitReverse, cosTable, sinTable);
    for (int32_t a0 = 0; a0 < n; a0 += 2 * h) {
        const int32_t t = bitReverse[a0 / d];
        const __m128d c = _mm_set1_pd(cosTable[t]), s = _mm_set1_pd(sinTable[t]);
        // h is a power of two of at least 2: the pairs fill the block exactly.
        for (int32_t a = a0; a < a0 + h; a += 2) {
            const int32_t b = a + h;
            const __m128d bRe = Load2(re + b), bIm = Load2(im + b);
            const __m128d tr = Round(_mm_sub_pd(_mm_mul_pd(bRe, c), _mm_mul_pd(bIm, s)));
            const __m128d ti = Round(_mm_add_pd(_mm_mul_pd(bIm, c), _mm_mul_pd(bRe, s)));
            const __m128d aRe = Load2(re + a), aIm = Load2(im + a);
            Store2(re + b, _mm_sub_pd(aRe, tr));
            Store2(im + b, _mm_sub_pd(aIm, ti));
            Store2(re + a, _mm_add_pd(aRe, tr));
            Store2(im + a, _mm_add_pd(aIm, ti));
        }
    }
}

}  // namespace vireon
