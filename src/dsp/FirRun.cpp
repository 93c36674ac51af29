#include "dsp/FirRun.h"

#include <cstring>

namespace vireon {

namespace {

constexpr int32_t PhaseCapacity =
    FirCapacity - 1 + FirRunCapacity + FirMaxStride * (FirKernelLanes + 1);

struct Phases {
    double values[PhaseCapacity];
};

// The window of the run (the last TapCount - 1 inputs, then the count new ones), widened and
// split into the kernel's phases; output k of the run reads the window from entry k on, exactly
// the delay line Step would hold at that sample.
FirKernelArgs Split(const FirFilter& f, const float* x, int32_t count, KeptOutputs kept, Phases& p,
                    float* out) {
    const int32_t taps = f.TapCount;
    const int32_t length = taps - 1 + count;
    const int32_t stride = kept.stride;
    const int32_t phaseLength = (length + stride - 1) / stride + FirKernelLanes;
    const int32_t old = taps - 1;
    for (int32_t r = 0; r < stride; ++r) {
        double* row = p.values + r * phaseLength;
        int32_t t = r;
        for (; t < old; t += stride) *row++ = f.DelayLine[t + 1];
        for (; t < length; t += stride) *row++ = x[t - old];
    }
    // The padding the kernels' unused lanes read.
    for (int32_t r = 0; r < stride; ++r)
        for (int32_t m = (length - r + stride - 1) / stride; m < phaseLength; ++m)
            p.values[r * phaseLength + m] = 0.0;
    return {f.Coefficients, taps, p.values, phaseLength, stride, kept.first, kept.count, out};
}

// The delay line count Step calls leave.
void Advance(FirFilter& f, const float* x, int32_t count) {
    const int32_t taps = f.TapCount;
    if (taps <= 0) return;
    if (count >= taps) {
        std::memcpy(f.DelayLine, x + (count - taps),
                    static_cast<std::size_t>(taps) * sizeof(float));
        return;
    }
    std::memmove(f.DelayLine, f.DelayLine + count,
                 static_cast<std::size_t>(taps - count) * sizeof(float));
    std::memcpy(f.DelayLine + (taps - count), x, static_cast<std::size_t>(count) * sizeof(float));
}

bool Fits(const FirFilter& a, const FirFilter& b, int32_t count, KeptOutputs kept) {
    if (&a == &b || count > FirRunCapacity) return false;
    if (kept.stride < 1 || kept.stride > FirMaxStride || kept.first < 0 || kept.count < 0)
        return false;
    return kept.count == 0 || kept.first + (kept.count - 1) * kept.stride < count;
}

}  // namespace

void StepPairRun(FirFilter& a, const float* xa, float* ya, FirFilter& b, const float* xb, float* yb,
                 int32_t count, KeptOutputs kept, FirKernel kernel) {
    if (count <= 0) return;
    if (!Fits(a, b, count, kept)) {
        int32_t next = 0;
        for (int32_t k = 0; k < count; ++k) {
            float pa = 0.0f, pb = 0.0f;
            StepPair(a, xa[k], pa, b, xb[k], pb);
            if (next < kept.count && k == kept.first + next * kept.stride) {
                ya[next] = pa;
                yb[next] = pb;
                ++next;
            }
        }
        return;
    }
    // A filter without taps gives 0 and keeps its delay line, as Step does.
    const FirKernelArgs none{nullptr, 0, nullptr, 0, kept.stride, kept.first, 0, nullptr};
    Phases pa, pb;
    FirKernelArgs argsA = none, argsB = none;
    if (a.TapCount > 0)
        argsA = Split(a, xa, count, kept, pa, ya);
    else
        for (int32_t k = 0; k < kept.count; ++k) ya[k] = 0.0f;
    if (b.TapCount > 0)
        argsB = Split(b, xb, count, kept, pb, yb);
    else
        for (int32_t k = 0; k < kept.count; ++k) yb[k] = 0.0f;
    kernel(argsA, argsB);
    Advance(a, xa, count);
    Advance(b, xb, count);
}

}  // namespace vireon
