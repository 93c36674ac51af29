// Built with -mavx2 (and nothing that fuses or reorders arithmetic); only called where the
// processor has AVX2.
#include <immintrin.h>

#include <cstring>

#include "dsp/kernels/FirDot.h"
#include "dsp/kernels/FirDotBody.h"

namespace vireon {

namespace {

struct Avx2 {
    using Type = __m256d;
    using Sum = Type;
    static constexpr int32_t Width = 4;
    static Type Zero() { return _mm256_setzero_pd(); }
    static Type Load(const double* p) { return _mm256_loadu_pd(p); }
    static Type Broadcast(float c) { return _mm256_set1_pd(c); }
    // In each lane exactly the scalar float(double(sum) + double(c) * double(w)), held widened.
    static Type Accumulate(Type sum, Type c, Type w) {
        return _mm256_cvtps_pd(_mm256_cvtpd_ps(_mm256_add_pd(sum, _mm256_mul_pd(c, w))));
    }
    static void Store(float* out, Type v, int32_t lanes) {
        float lane[Width];
        _mm_storeu_ps(lane, _mm256_cvtpd_ps(v));
        std::memcpy(out, lane, static_cast<std::size_t>(lanes) * sizeof(float));
    }
};

}  // namespace

void FirDotAvx2(const FirKernelArgs& a, const FirKernelArgs& b) {
    KernelPair<Avx2, 4>(a, b);
}

}  // namespace vireon
