// One output at a time, in plain C++: the FIR kernel for every processor.
#include "dsp/kernels/FirDot.h"
#include "dsp/kernels/FirDotBody.h"

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

}  // namespace

void FirDotPortable(const FirKernelArgs& a, const FirKernelArgs& b) {
    KernelPair<Scalar, 4>(a, b);
}

}  // namespace vireon
