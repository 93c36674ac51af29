// One sample at a time, in plain C++: the window for every processor.
#include "dsp/kernels/HannWindow.h"

namespace vireon {

void HannWindowPortable(const float* ringRe, const float* ringIm, int32_t writeIndex, int32_t n,
                        const float* cosTable, float* workRe, float* workIm) {
    int32_t r = writeIndex;
    for (int32_t i = 0; i < n; ++i) {
        // The weight stays in double: only the products are rounded to float.
        const double w = 1.0 - double(cosTable[i]);
        workRe[i] = static_cast<float>(w * double(ringRe[r]));
        workIm[i] = static_cast<float>(w * double(ringIm[r]));
        if (++r >= n) r = 0;  // the ring wraps at n, not at its capacity
    }
}

}  // namespace vireon
