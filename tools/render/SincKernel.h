#pragma once
// Computes sinc converter outputs at given points, each as libsamplerate computes it: the
// coefficient interpolated in double from two floats and their float difference, the left
// half summed from its far end towards the centre, then the right half likewise, then
// left + right scaled and rounded to float.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/render/SincSchedule.h"

namespace vireon::render {

// Coefficient i and its float difference to the next, widened to double once.
struct SincPair {
    double coefficient;
    double slope;
};

// What every output reads, made once per filter.
struct SincTables {
    explicit SincTables(const SincFilter& filter);
    std::vector<SincPair> pairs;   // readable well past the half length
    std::vector<double> fraction;  // of each 12-bit fixed-point fraction
};

struct SincKernelArgs {
    const SincTables* tables;
    SincGeometry geometry;
    const SincPoint* points;
    std::size_t count;
    // Input widened to double, from sample `inputFirst` on, zeros outside the recording,
    // covering every point's centre +- geometry.halfSpan.
    const double* input;
    int64_t inputFirst;
    float* out;
};

void ComputeSincOutputs(const SincKernelArgs& args);

}  // namespace vireon::render
