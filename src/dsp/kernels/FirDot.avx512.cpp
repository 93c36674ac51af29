// Built with -mavx512f (and nothing that fuses or reorders arithmetic); only called where the
// processor has AVX-512.
#include <immintrin.h>

#include <cstring>

#include "dsp/kernels/FirDot.h"
#include "dsp/kernels/FirDotBody.h"

namespace vireon {

namespace {

struct Avx512 {
    using Type = __m512d;
    using Sum = Type;
    static constexpr int32_t Width = 8;
    static Type Zero() { return _mm512_setzero_pd(); }
    static Type Load(const double* p) { return _mm512_loadu_pd(p); }
    static Type Broadcast(float c) { return _mm512_set1_pd(c); }
    // In each lane exactly the scalar float(double(sum) + double(c) * double(w)), held widened.
    static Type Accumulate(Type sum, Type c, Type w) {
        return _mm512_cvtps_pd(_mm512_cvtpd_ps(_mm512_add_pd(sum, _mm512_mul_pd(c, w))));
    }
    static void Store(float* out, Type v, int32_t lanes) {
        float lane[Width];
        _mm256_storeu_ps(lane, _mm512_cvtpd_ps(v));
        std::memcpy(out, lane, static_cast<std::size_t>(lanes) * sizeof(float));
    }
};

}  // namespace

void FirDotAvx512(const FirKernelArgs& a, const FirKernelArgs& b) {
    KernelPair<Avx512, 8>(a, b);
}

}  // namespace vireon
