#include "dsp/SpectrumEngine.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "dsp/Kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vireon {

namespace {

constexpr double TwoPi = 6.283185307179586;

#if defined(__SSE2__)
// Two neighbouring floats widened to double, and two doubles rounded to float and stored: the
// vector paths below form in each lane exactly what the scalar statement beside them forms.
inline __m128d Load2(const float* p) {
    double both = 0.0;
    std::memcpy(&both, p, sizeof both);
    return _mm_cvtps_pd(_mm_castpd_ps(_mm_set_sd(both)));
}

inline void Store2(float* p, __m128d v) {
    const double both = _mm_cvtsd_f64(_mm_castps_pd(_mm_cvtpd_ps(v)));
    std::memcpy(p, &both, sizeof both);
}

// Rounded to float and widened again.
inline __m128d Round(__m128d v) {
    return _mm_cvtps_pd(_mm_cvtpd_ps(v));
}
#endif

}  // namespace

void SpectrumEngine::Init(int32_t n) {
    if (n < 2 || n > SpectrumCapacity || (n & (n - 1)) != 0)
        throw std::invalid_argument("spectrum size " + std::to_string(n) +
                                    " is not a power of two from 2 to 4096");
    N = n;
    for (int32_t i = 0; i < n; ++i) {
        const double a = (double(i) * TwoPi) / double(n);
        SinTable[i] = static_cast<float>(std::sin(a));
        CosTable[i] = static_cast<float>(std::cos(a));
    }
    int32_t bits = 0;
    while (((n - 1) >> bits) & 1) ++bits;
    Log2N = bits;
    for (int32_t i = 0; i < n; ++i) {
        int32_t reversed = 0;
        for (int32_t j = 0; j < bits; ++j)
            if ((i >> j) & 1) reversed |= 1 << (bits - 1 - j);
        BitReverse[i] = reversed;
    }
}

void SpectrumEngine::Push(float re, float im) {
    // A WriteIndex left beyond a smaller N by a second Init restarts at slot 0 instead of
    // running past the end of the ring.
    if (WriteIndex < 0 || WriteIndex >= N) WriteIndex = 0;
    RingRe[WriteIndex] = re;
    RingIm[WriteIndex] = im;
    WriteIndex = NextWriteIndex(WriteIndex, N);
}

int32_t SpectrumEngine::NextWriteIndex(int32_t index, int32_t n) {
    if (index < 0 || index >= n) index = 0;
    index = index + 1;
    return index >= n ? 0 : index;
}

void SpectrumEngine::ApplyWindow() {
    int32_t r = (WriteIndex >= 0 && WriteIndex < N) ? WriteIndex : 0;
    int32_t i = 0;
#if defined(__SSE2__)
    // Two at a time where the ring does not wrap between them.
    const __m128d one = _mm_set1_pd(1.0);
    for (; i + 1 < N; i += 2) {
        if (r + 1 >= N) {  // the last slot: one on its own, then on from the ring's start
            const double w = 1.0 - double(CosTable[i]);
            WorkRe[i] = static_cast<float>(w * double(RingRe[r]));
            WorkIm[i] = static_cast<float>(w * double(RingIm[r]));
            r = 0;
            --i;
            continue;
        }
        const __m128d w = _mm_sub_pd(one, Load2(CosTable + i));
        Store2(WorkRe + i, _mm_mul_pd(w, Load2(RingRe + r)));
        Store2(WorkIm + i, _mm_mul_pd(w, Load2(RingIm + r)));
        r += 2;
        if (r >= N) r = 0;
    }
#endif
    for (; i < N; ++i) {
        // The weight stays in double: only the products are rounded to float.
        const double w = 1.0 - double(CosTable[i]);
        WorkRe[i] = static_cast<float>(w * double(RingRe[r]));
        WorkIm[i] = static_cast<float>(w * double(RingIm[r]));
        if (++r >= N) r = 0;  // the ring wraps at N, not at its capacity
    }
}

void FftStagePortable(float* re, float* im, int32_t n, int32_t h, int32_t d,
                      const int32_t* bitReverse, const float* cosTable, const float* sinTable) {
    for (int32_t a0 = 0; a0 < n; a0 += 2 * h) {
        // Every butterfly of one block shares its twiddle: a / d is the same for all of them.
        const int32_t t = bitReverse[a0 / d];
        const double c = cosTable[t];
        const double sn = sinTable[t];
        int32_t a = a0;
#if defined(__SSE2__)
        if (h >= 2) {
            const __m128d vc = _mm_set1_pd(c), vs = _mm_set1_pd(sn);
            for (; a + 1 < a0 + h; a += 2) {
                const int32_t b = a + h;
                const __m128d bRe = Load2(re + b), bIm = Load2(im + b);
                const __m128d tr = Round(_mm_sub_pd(_mm_mul_pd(bRe, vc), _mm_mul_pd(bIm, vs)));
                const __m128d ti = Round(_mm_add_pd(_mm_mul_pd(bIm, vc), _mm_mul_pd(bRe, vs)));
                const __m128d aRe = Load2(re + a), aIm = Load2(im + a);
                Store2(re + b, _mm_sub_pd(aRe, tr));
                Store2(im + b, _mm_sub_pd(aIm, ti));
                Store2(re + a, _mm_add_pd(aRe, tr));
                Store2(im + a, _mm_add_pd(aIm, ti));
            }
        }
#endif
        for (; a < a0 + h; ++a) {
            const int32_t b = a + h;
            const double bRe = re[b];
            const double bIm = im[b];
            const float tr = static_cast<float>(bRe * c - bIm * sn);
            const float ti = static_cast<float>(bIm * c + bRe * sn);
            const double aRe = re[a];
            const double aIm = im[a];
            re[b] = static_cast<float>(aRe - double(tr));
            im[b] = static_cast<float>(aIm - double(ti));
            re[a] = static_cast<float>(aRe + double(tr));
            im[a] = static_cast<float>(aIm + double(ti));
        }
    }
}

void SpectrumEngine::Transform() {
    TransformWith(Chosen().fft.run);
}

void SpectrumEngine::TransformWith(FftStage stage) {
    if (N < 2) return;
    int32_t h = N / 2;
    int32_t s = Log2N - 1;
    for (int32_t k = 1; k <= Log2N; ++k) {
        stage(WorkRe, WorkIm, N, h, int32_t{1} << s, BitReverse, CosTable, SinTable);
        s = s - 1;
        h = h / 2;
    }
}

void SpectrumEngine::Magnitudes() {
    // BitReverse[i] ^ 1 == BitReverse[i ^ N/2]: the halves of the spectrum change places, so
    // zero frequency lands in the middle.
    int32_t i = 0;
#if defined(__SSE2__)
    for (; i + 1 < N; i += 2) {
        const int32_t p0 = BitReverse[i] ^ 1, p1 = BitReverse[i + 1] ^ 1;
        const __m128d re = _mm_set_pd(WorkRe[p1], WorkRe[p0]);
        const __m128d im = _mm_set_pd(WorkIm[p1], WorkIm[p0]);
        Store2(Magnitude + i, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(re, re), _mm_mul_pd(im, im))));
    }
#endif
    for (; i < N; ++i) {
        const int32_t p = BitReverse[i] ^ 1;
        const double re = WorkRe[p];
        const double im = WorkIm[p];
        Magnitude[i] = static_cast<float>(std::sqrt(re * re + im * im));
    }
}

}  // namespace vireon
