// StepPairBlock: FirBlock samples through both filters at once. Each output is still the serial
// float-rounded sum Step forms, tap by tap in index order; only independent sums (other samples,
// the other filter) are interleaved, so the bits are the same.
#include <cstring>

#include "dsp/FirBlockKernels.h"
#include "dsp/FirFilter.h"

namespace vireon {

namespace {

// The last TapCount - 1 inputs followed by FirBlock new ones: output k of the block reads the
// window that starts at entry k, exactly the delay line Step would hold at that sample.
struct Window {
    float values[FirCapacity - 1 + FirBlock];
};

void Extend(const FirFilter& f, const float* x, Window& w) {
    const std::size_t old = static_cast<std::size_t>(f.TapCount - 1);
    std::memcpy(w.values, f.DelayLine + 1, old * sizeof(float));
    std::memcpy(w.values + old, x, FirBlock * sizeof(float));
}

void Keep(FirFilter& f, const Window& w) {
    std::memcpy(f.DelayLine, w.values + FirBlock - 1,
                static_cast<std::size_t>(f.TapCount) * sizeof(float));
}

}  // namespace

void StepPairBlock(FirFilter& a, const float* xa, float* ya, FirFilter& b, const float* xb,
                   float* yb) {
    const int32_t taps = a.TapCount;
    if (&a == &b || taps != b.TapCount || taps <= 0) {
        for (int32_t k = 0; k < FirBlock; ++k) StepPair(a, xa[k], ya[k], b, xb[k], yb[k]);
        return;
    }
    Window wa, wb;
    Extend(a, xa, wa);
    Extend(b, xb, wb);
#if defined(__SSE2__)
    BlockDotsSse2(a.Coefficients, wa.values, ya, b.Coefficients, wb.values, yb, taps);
#else
    BlockDotsPortable(a.Coefficients, wa.values, ya, b.Coefficients, wb.values, yb, taps);
#endif
    Keep(a, wa);
    Keep(b, wb);
}

}  // namespace vireon
