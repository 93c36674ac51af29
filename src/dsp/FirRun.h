#pragma once
// A run of samples through both filters of the chain at once, forming only the outputs that are
// kept: each output is still the serial float-rounded sum Step forms, tap by tap in index order;
// only independent sums (other samples, the other filter) are worked on side by side, by the
// FIR kernel the caller passes (dsp/kernels/Kernels lists them).
#include <cstdint>

#include "dsp/FirFilter.h"
#include "dsp/kernels/FirDot.h"

namespace vireon {

// Which outputs of a run are wanted: those of inputs first, first + stride, ..., count of them.
struct KeptOutputs {
    int32_t first = 0;
    int32_t stride = 1;
    int32_t count = 0;
};

constexpr int32_t FirRunCapacity = 384;
constexpr int32_t FirMaxStride = 8;

// Runs count consecutive inputs (1 .. FirRunCapacity) through each of two filters and forms only
// the kept outputs: ya[k] and yb[k] are bit-identical to what StepPair returns for input
// kept.first + k * kept.stride, and both filters end in the state count StepPair calls leave.
// Only the delay lines advance for the other inputs. Strides above FirMaxStride, or one filter
// passed twice, take the sample-by-sample path.
void StepPairRun(FirFilter& a, const float* xa, float* ya, FirFilter& b, const float* xb, float* yb,
                 int32_t count, KeptOutputs kept, FirKernel kernel);

}  // namespace vireon
