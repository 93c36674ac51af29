#pragma once
// Text-to-number conversions for the coefficient file. They never look at the process locale:
// Qt sets it from the environment, and a German one would otherwise read "0.5" as 0.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vireon {

// A signed 32-bit integer: optional leading spaces, then an optional "+" or "-" and decimal
// digits, or a hexadecimal number after "$", "x", "X", "0x" or "0X" (up to 32 bits, two's
// complement). Nothing may follow. Empty when the text is not such a number.
std::optional<int32_t> ParseInt32(std::string_view text);

// The number at the start of the text, read the way the C library's atof reads it in the "C"
// locale, except that "inf", "nan" and hexadecimal forms are not numbers: leading white space,
// an optional sign, digits with an optional "." fraction, an optional exponent. Reading stops at
// the first character that cannot continue the number; no number at all reads as 0. Too large
// a magnitude gives an infinity, too small a zero, both with the number's sign.
double ReadLeadingDecimal(std::string_view text);

}  // namespace vireon
