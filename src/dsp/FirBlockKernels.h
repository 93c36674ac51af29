#pragma once
// The inner products behind StepPairBlock, one portable and one for SSE2; both give the bits
// Step gives. For k < FirBlock: ya[k] = sum over i < taps of ca[i] * wa[i + k], formed as Step
// forms it (exact products, the running sum rounded to float after every addition, i in
// increasing order); likewise yb. wa and wb hold taps - 1 + FirBlock entries.
#include <cstdint>

namespace vireon {

void BlockDotsPortable(const float* ca, const float* wa, float* ya, const float* cb,
                       const float* wb, float* yb, int32_t taps);

#if defined(__SSE2__)
void BlockDotsSse2(const float* ca, const float* wa, float* ya, const float* cb, const float* wb,
                   float* yb, int32_t taps);
#endif

}  // namespace vireon
