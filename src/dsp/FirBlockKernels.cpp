#include "dsp/FirBlockKernels.h"

#include <cstring>

#include "dsp/FirKernelBody.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace vireon {

namespace {

// One output per lane, written as Step writes it: the running sum is a float variable. (GCC 12
// loses the rounding when a double that is rounded to float and widened again is carried
// from one step to the next in scalar code, so the sum is not held widened here.)
struct Scalar {
    using Type = double;
    using Sum = float;
    static constexpr int32_t Width = 1;
    static Sum Zero() { return 0.0f; }
    static Type Load(const double* p) { return *p; }
    static Type Broadcast(float c) { return c; }
    static Sum Accumulate(Sum sum, Type c, Type w) {
        return static_cast<float>(double(sum) + c * w);
    }
    static void Store(float* out, Sum v, int32_t) { *out = v; }
};

#if defined(__x86_64__)
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
#endif

}  // namespace

void FirKernelPortable(const FirKernelArgs& a, const FirKernelArgs& b) {
    KernelPair<Scalar, 4>(a, b);
}

#if defined(__x86_64__)
void FirKernelSse2(const FirKernelArgs& a, const FirKernelArgs& b) {
    KernelPair<Sse2, 4>(a, b);
}
#endif

}  // namespace vireon
