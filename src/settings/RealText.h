#pragma once
// Text form of the Real setting kind. Always "." as the decimal separator, whatever the
// process locale, so a file reads the same for every user.
#include <string>

namespace vireon {

// Strict reading of the whole text: optional leading spaces, an optional sign, digits with at
// most one ".", at least one digit, an optional exponent ("E" or "e", optional sign, digits),
// optional trailing spaces. Anything else, the empty text and a magnitude beyond the largest
// double included, throws ConvertError "'%s' is not a valid floating point value". A magnitude
// below the smallest double reads as zero.
double TextToReal(const std::string& text);

// General form with at most 15 significant digits, trailing zeros and a bare "." dropped,
// exponent form ("1E+20", "1E-05") for very large or small magnitudes. TextToReal always reads
// the result back. Infinities and NaN have no such form: they give the empty text.
std::string RealToText(double value);

}  // namespace vireon
