#pragma once
// The sine, cosine and logarithm the chain defines its arithmetic with: the C library's, as
// glibc gives them. On Linux they are glibc's own; on Windows, whose C runtime gives other
// results, the program's (ExactMath), which round to glibc's floats wherever the chain rounds
// them (tests/dsp/ExactMathTest.cpp compares the two over every input the chain can pass).
#include <cstdint>

namespace vireon {

double ChainSin(double x);
double ChainCos(double x);
// Each of count floats replaced by float(log(double(f))): a frame's worth in one call.
void ChainLogs(float* values, int32_t count);

}  // namespace vireon
