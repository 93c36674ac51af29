// One magnitude at a time, in plain C++: for every processor.
#include <cmath>

#include "dsp/kernels/Magnitudes.h"

namespace vireon {

void MagnitudesPortable(const float* workRe, const float* workIm, const int32_t* bitReverse,
                        int32_t n, float* magnitude) {
    for (int32_t i = 0; i < n; ++i) {
        const int32_t p = bitReverse[i] ^ 1;
        const double re = workRe[p];
        const double im = workIm[p];
        magnitude[i] = static_cast<float>(std::sqrt(re * re + im * im));
    }
}

}  // namespace vireon
