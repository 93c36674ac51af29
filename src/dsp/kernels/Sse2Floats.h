#pragma once
// Two neighbouring floats widened to double, and two doubles rounded to float and stored: the
// SSE2 kernels form in each lane exactly what the scalar statement forms. Unnamed namespace, as
// for every kernel body: each kernel's file has its own copy.
#include <emmintrin.h>

#include <cstring>

namespace vireon {
namespace {

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

}  // namespace
}  // namespace vireon
