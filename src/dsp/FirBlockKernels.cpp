#include "dsp/FirBlockKernels.h"

#include <cstring>

#include "dsp/FirFilter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vireon {

void BlockDotsPortable(const float* ca, const float* wa, float* ya, const float* cb,
                       const float* wb, float* yb, int32_t taps) {
    float sumA[FirBlock] = {};
    float sumB[FirBlock] = {};
    for (int32_t i = 0; i < taps; ++i) {
        const double a = ca[i];
        const double b = cb[i];
        for (int32_t k = 0; k < FirBlock; ++k) {
            sumA[k] = static_cast<float>(double(sumA[k]) + a * double(wa[i + k]));
            sumB[k] = static_cast<float>(double(sumB[k]) + b * double(wb[i + k]));
        }
    }
    std::memcpy(ya, sumA, sizeof sumA);
    std::memcpy(yb, sumB, sizeof sumB);
}

#if defined(__SSE2__)

namespace {

static_assert(FirBlock % 2 == 0);
constexpr int32_t Lanes = FirBlock / 2;

// Two adjacent window entries widened to double (memcpy: the floats need not be 8-byte aligned).
inline __m128d LoadPair(const float* p) {
    double both = 0.0;
    std::memcpy(&both, p, sizeof both);
    return _mm_cvtps_pd(_mm_castpd_ps(_mm_set_sd(both)));
}

// The two lanes rounded to float and written to p[0], p[1].
inline void StorePair(float* p, __m128d v) {
    const double both = _mm_cvtsd_f64(_mm_castps_pd(_mm_cvtpd_ps(v)));
    std::memcpy(p, &both, sizeof both);
}

// sum + c * w in double, rounded to float and held widened: in each lane exactly the scalar
// float(double(sum) + double(c) * double(w)).
inline __m128d Accumulate(__m128d sum, __m128d c, __m128d w) {
    return _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(sum, _mm_mul_pd(c, w))));
}

}  // namespace

void BlockDotsSse2(const float* ca, const float* wa, float* ya, const float* cb, const float* wb,
                   float* yb, int32_t taps) {
    __m128d sumA[Lanes], sumB[Lanes];
    for (int32_t l = 0; l < Lanes; ++l) sumA[l] = sumB[l] = _mm_setzero_pd();
    for (int32_t i = 0; i < taps; ++i) {
        const __m128d a = _mm_set1_pd(ca[i]);
        const __m128d b = _mm_set1_pd(cb[i]);
        for (int32_t l = 0; l < Lanes; ++l) {
            sumA[l] = Accumulate(sumA[l], a, LoadPair(wa + i + 2 * l));
            sumB[l] = Accumulate(sumB[l], b, LoadPair(wb + i + 2 * l));
        }
    }
    for (int32_t l = 0; l < Lanes; ++l) {
        StorePair(ya + 2 * l, sumA[l]);
        StorePair(yb + 2 * l, sumB[l]);
    }
}

#endif

}  // namespace vireon
