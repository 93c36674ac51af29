#pragma once
// One stage of the spectrum engine's radix-2 transform, in place on re/im (n entries): every
// block of 2h entries, each butterfly (a, a + h) with the block's twiddle
// t = bitReverse[block start / d]: the product of the twiddle and the entry at a + h rounded to
// float, then the sum and the difference rounded to float. Every kernel forms in each lane what
// the portable one forms.
#include <cstdint>

namespace vireon {

using FftStage = void (*)(float* re, float* im, int32_t n, int32_t h, int32_t d,
                          const int32_t* bitReverse, const float* cosTable, const float* sinTable);

void FftStagePortable(float* re, float* im, int32_t n, int32_t h, int32_t d,
                      const int32_t* bitReverse, const float* cosTable, const float* sinTable);
// Built for x86-64 only.
#if defined(__x86_64__)
void FftStageSse2(float* re, float* im, int32_t n, int32_t h, int32_t d, const int32_t* bitReverse,
                  const float* cosTable, const float* sinTable);
void FftStageAvx2(float* re, float* im, int32_t n, int32_t h, int32_t d, const int32_t* bitReverse,
                  const float* cosTable, const float* sinTable);
#endif

}  // namespace vireon
