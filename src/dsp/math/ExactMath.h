#pragma once
// Sine, cosine and the logarithm of a float in plain double arithmetic, for C runtimes whose own
// functions do not give glibc's results (Windows). The chain rounds what these return to float
// (the mixer after a product), and there it gets exactly what glibc gives it on Linux:
// tests/dsp/ExactMathTest.cpp compares the two over every input the chain can pass.

namespace vireon {

// sin x and cos x worked out to about 2^-100 of themselves, then rounded: the double nearest the
// exact value, unless that lies within 2^-100 of halfway between two doubles (glibc's own is not
// the nearest at 0.14% of the oscillator's phases). For |x| <= 2^19 (the chain's are 0 .. 2 pi);
// NaN for larger x, infinities and NaN.
double ExactSin(double x);
double ExactCos(double x);

// float(log(double(f))) as glibc gives it: exhaustively so for every f >= 1, +inf and every
// NaN (returned quiet, sign and payload kept). Below 1 it is the same construction, checked on a
// sample: log 0 is -inf, a negative f gives a quiet NaN.
float LogOfFloat(float f);

// LogOfFloat's two paths, apart for its tests. The fast one gives a double within 1.7 units in
// its last place of log f, and false where it cannot be sure that glibc's double rounds to the
// same float (a few dozen of the 2^30 floats >= 1, and every f that is not a positive normal
// float). The slow one gives the nearest double to log f for every float (worked out to about
// 2^-100 first), as glibc does but where glibc itself is off; about 30 times slower.
bool LogOfFloatFast(float f, double& y);
double LogOfFloatSlow(float f);

}  // namespace vireon
