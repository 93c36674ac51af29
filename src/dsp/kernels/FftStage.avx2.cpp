// Built with -mavx2 (and nothing that fuses or reorders arithmetic); only called where the
// processor has AVX2.
#include <immintrin.h>

#include "dsp/kernels/FftStage.h"

namespace vireon {
namespace {

// Four butterflies: each lane forms what the portable stage forms, the product rounded to float,
// then the sum and difference rounded to float.
struct Butterflies {
    __m256d aRe, aIm, bRe, bIm;
    void Run(__m256d c, __m256d s) {
        const auto round = [](__m256d v) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(v)); };
        const __m256d tr = round(_mm256_sub_pd(_mm256_mul_pd(bRe, c), _mm256_mul_pd(bIm, s)));
        const __m256d ti = round(_mm256_add_pd(_mm256_mul_pd(bIm, c), _mm256_mul_pd(bRe, s)));
        bRe = _mm256_sub_pd(aRe, tr);
        bIm = _mm256_sub_pd(aIm, ti);
        aRe = _mm256_add_pd(aRe, tr);
        aIm = _mm256_add_pd(aIm, ti);
    }
};

__m256d Load(const float* p) {
    return _mm256_cvtps_pd(_mm_loadu_ps(p));
}

void Store(float* p, __m256d v) {
    _mm_storeu_ps(p, _mm256_cvtpd_ps(v));
}

// Blocks of two or four entries, four butterflies of several blocks at a time: eight entries
// are loaded, their a-halves gathered into the low four lanes and b-halves into the high four
// (`split`), and put back in place after (`join`).
template <int32_t H>
void SmallBlocks(float* re, float* im, int32_t n, const int32_t* bitReverse, const float* cosTable,
                 const float* sinTable) {
    const __m256i split = H == 2 ? _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7)
                                 : _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i join = H == 2 ? split : _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const auto halves = [&](const float* p, __m256d& a, __m256d& b) {
        const __m256 v = _mm256_permutevar8x32_ps(_mm256_loadu_ps(p), split);
        a = _mm256_cvtps_pd(_mm256_castps256_ps128(v));
        b = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
    };
    const auto put = [&](float* p, __m256d a, __m256d b) {
        const __m256 v = _mm256_set_m128(_mm256_cvtpd_ps(b), _mm256_cvtpd_ps(a));
        _mm256_storeu_ps(p, _mm256_permutevar8x32_ps(v, join));
    };
    for (int32_t a0 = 0; a0 < n; a0 += 8) {
        // Block k of these (its first entry a0 + 2Hk) takes the twiddle of BitReverse[a / d],
        // and d = h in every stage.
        const auto twiddle = [&](const float* table, int32_t k) {
            return double(table[bitReverse[a0 / H + 2 * k]]);
        };
        __m256d c, s;
        if (H == 2) {
            const double c0 = twiddle(cosTable, 0), c1 = twiddle(cosTable, 1);
            const double s0 = twiddle(sinTable, 0), s1 = twiddle(sinTable, 1);
            c = _mm256_setr_pd(c0, c0, c1, c1);
            s = _mm256_setr_pd(s0, s0, s1, s1);
        } else {
            c = _mm256_setr_pd(twiddle(cosTable, 0), twiddle(cosTable, 1), twiddle(cosTable, 2),
                               twiddle(cosTable, 3));
            s = _mm256_setr_pd(twiddle(sinTable, 0), twiddle(sinTable, 1), twiddle(sinTable, 2),
                               twiddle(sinTable, 3));
        }
        Butterflies f;
        halves(re + a0, f.aRe, f.bRe);
        halves(im + a0, f.aIm, f.bIm);
        f.Run(c, s);
        put(re + a0, f.aRe, f.bRe);
        put(im + a0, f.aIm, f.bIm);
    }
}

}  // namespace

void FftStageAvx2(float* re, float* im, int32_t n, int32_t h, int32_t d, const int32_t* bitReverse,
                  const float* cosTable, const float* sinTable) {
    if (n < 8) return FftStagePortable(re, im, n, h, d, bitReverse, cosTable, sinTable);
    if (h == 1) return SmallBlocks<1>(re, im, n, bitReverse, cosTable, sinTable);
    if (h == 2) return SmallBlocks<2>(re, im, n, bitReverse, cosTable, sinTable);
    for (int32_t a0 = 0; a0 < n; a0 += 2 * h) {
        const int32_t t = bitReverse[a0 / d];
        const __m256d c = _mm256_set1_pd(cosTable[t]), s = _mm256_set1_pd(sinTable[t]);
        for (int32_t a = a0; a < a0 + h; a += 4) {
            Butterflies f{Load(re + a), Load(im + a), Load(re + a + h), Load(im + a + h)};
            f.Run(c, s);
            Store(re + a, f.aRe);
            Store(im + a, f.aIm);
            Store(re + a + h, f.bRe);
            Store(im + a + h, f.bIm);
        }
    }
}

}  // namespace vireon
