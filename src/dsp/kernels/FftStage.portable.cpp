// One butterfly at a time, in plain C++: the transform's stage for every processor.
#include "dsp/kernels/FftStage.h"

namespace vireon {

void FftStagePortable(float* re, float* im, int32_t n, int32_t h, int32_t d,
                      const int32_t* bitReverse, const float* cosTable, const float* sinTable) {
    for (int32_t a0 = 0; a0 < n; a0 += 2 * h) {
        // Every butterfly of one block shares its twiddle: a / d is the same for all of them.
        const int32_t t = bitReverse[a0 / d];
        const double c = cosTable[t];
        const double sn = sinTable[t];
        for (int32_t a = a0; a < a0 + h; ++a) {
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

}  // namespace vireon
