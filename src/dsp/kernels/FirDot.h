#pragma once
// The FIR filters' inner products, the kernels behind StepPairRun. Every kernel gives the bits
// FirFilter::Step gives: each output is the sum over i < taps of c[i] * w[i], the product exact
// in double, the running sum rounded to float after every addition, i in increasing order.
// Kernels differ only in how many outputs (samples of time, never taps) they work on side by
// side.
#include <cstdint>

namespace vireon {

// One filter's share of a run. The run's inputs, preceded by the filter's last taps - 1, are
// the window w, held widened to double and split by stride into phases: w[t] is
// phases[(t % stride) * phaseLength + t / stride]. Output l (l < outputs) reads the window from
// t = first + stride * l on. Each phase is readable for FirKernelLanes entries past its end.
struct FirKernelArgs {
    const float* coefficients;
    int32_t taps;  // 1 .. 1024
    const double* phases;
    int32_t phaseLength;
    int32_t stride;
    int32_t first;
    int32_t outputs;
    float* out;
};

// The widest vector any kernel uses, in doubles.
constexpr int32_t FirKernelLanes = 8;

// Runs both filters' shares; the two need not have the same tap count.
using FirKernel = void (*)(const FirKernelArgs& a, const FirKernelArgs& b);

void FirDotPortable(const FirKernelArgs& a, const FirKernelArgs& b);
// Built for x86-64 only.
#if defined(__x86_64__)
void FirDotSse2(const FirKernelArgs& a, const FirKernelArgs& b);
void FirDotAvx2(const FirKernelArgs& a, const FirKernelArgs& b);
void FirDotAvx512(const FirKernelArgs& a, const FirKernelArgs& b);
#endif

}  // namespace vireon
