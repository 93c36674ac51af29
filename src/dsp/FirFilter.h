#pragma once
// FIR low-pass of up to 1024 taps over single-precision samples, coefficients from "fir1.txt".
#include <cstdint>
#include <string>

#include "platform/MessageBox.h"

namespace vireon {

constexpr int32_t FirCapacity = 1024;

struct FirFilter {
    int32_t TapCount = 0;
    float Coefficients[FirCapacity] = {};
    float DelayLine[FirCapacity] = {};  // entry 0 the oldest input, TapCount - 1 the newest

    // Loads the coefficient file. A missing file shows "Cannot load the filter <path>" and
    // leaves the filter as it was; a malformed one throws (ConvertError, ListIndexError,
    // FileOpenError) and also leaves it as it was. A tap count outside 0..1024 and a
    // coefficient beyond the float range are refused with a ConvertError.
    void Load(const std::string& path, MessageBoxService& boxes);

    // One input in, one output out: c0 meets the oldest of the last TapCount inputs.
    float Step(float x);
};

// Steps two filters with the same tap count at once; the result is bit-identical to
// a.Step(xa) and b.Step(xb), but the two running sums overlap in the pipeline.
void StepPair(FirFilter& a, float xa, float& ya, FirFilter& b, float xb, float& yb);

// Which outputs of a run are wanted: those of inputs first, first + stride, ..., count of them.
struct KeptOutputs {
    int32_t first = 0;
    int32_t stride = 1;
    int32_t count = 0;
};

// Runs count consecutive inputs (1 .. FirRunCapacity) through each of two filters and forms only
// the kept outputs: ya[k] and yb[k] are bit-identical to what StepPair returns for input
// kept.first + k * kept.stride, and both filters end in the state count StepPair calls leave.
// Only the delay lines advance for the other inputs. Strides above FirMaxStride, or one filter
// passed twice, take the sample-by-sample path.
constexpr int32_t FirRunCapacity = 384;
constexpr int32_t FirMaxStride = 8;
void StepPairRun(FirFilter& a, const float* xa, float* ya, FirFilter& b, const float* xb, float* yb,
                 int32_t count, KeptOutputs kept);

}  // namespace vireon
