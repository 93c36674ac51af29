// One sample at a time, in plain C++: the window for every processor.
#include "dsp/kernels/HannWindow.h"

namespace vireon {
namespace {

// count ring samples in a row, weighted by the table from cosTable on.
void WindowRun(const float* re, const float* im, const float* cosTable, float* workRe,
               float* workIm, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        // The weight stays in double: only the products are rounded to float.
        const double w = 1.0 - double(cosTable[i]);
        workRe[i] = static_cast<float>(w * double(re[i]));
        workIm[i] = static_cast<float>(w * double(im[i]));
    }
}

}  // namespace

void HannWindowPortable(const float* ringRe, const float* ringIm, int32_t writeIndex, int32_t n,
                        const float* cosTable, float* workRe, float* workIm) {
    // The ring from its oldest slot to its end, then from its start (it wraps at n, not at its
    // capacity).
    const int32_t older = n - writeIndex;
    WindowRun(ringRe + writeIndex, ringIm + writeIndex, cosTable, workRe, workIm, older);
    WindowRun(ringRe, ringIm, cosTable + older, workRe + older, workIm + older, writeIndex);
}

}  // namespace vireon
