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

}  // namespace vireon
