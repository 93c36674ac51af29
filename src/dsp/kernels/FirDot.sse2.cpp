// Two outputs at a time in SSE2, which every x86-64 processor has.
#include <emmintrin.h>

#include <cstring>

#include "dsp/kernels/FirDot.h"
#include "dsp/kernels/FirDotBody.h"

namespace vireon {
namespace {

struct Sse2 {
    using Type = __m128d;
    using Sum = Type;
    static constexpr int32_t Width = 2;
    static Type Zero() { return _mm_setzero_pd(); }
    static Type Load(const double* p) { return _mm_loadu_pd(p); }
    static Type Broadcast(float c) { return _mm_set1_pd(c); }
    // In each lane exactly the scalar float(double(sum) + double(c) * double(w)), held widened.
    static Type Accumulate(Type sum, Type c, Type w) {
        return _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(sum, _mm_mul_pd(c, w))));
    }
    static void Store(float* out, Type v, int32_t lanes) {
        float lane[4];
        _mm_storeu_ps(lane, _mm_cvtpd_ps(v));
        std::memcpy(out, lane, static_cast<std::size_t>(lanes) * sizeof(float));
    }
};

}  // namespace

void FirDotSse2(const FirKernelArgs& a, const FirKernelArgs& b) {
    KernelPair<Sse2, 4>(a, b);
}

}  // namespace vireon
