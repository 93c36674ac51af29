#pragma once
// The sine, cosine and logarithm the chain defines its arithmetic with: the C library's, as
// glibc gives them. On Linux they are glibc's own; on Windows, whose C runtime gives other
// results, the program's (ExactMath), which round to glibc's floats wherever the chain rounds
// them (tests/dsp/ExactMathTest.cpp compares the two over every input the chain can pass).
namespace vireon {

double ChainSin(double x);
double ChainCos(double x);
// float(log(double(f))).
float ChainLog(float f);

}  // namespace vireon
