#pragma once
// Text forms of the Integer and Text setting kinds.
#include <cstdint>
#include <string>
#include <string_view>

namespace vireon {

// Lenient reading: leading white space, an optional sign, then the leading decimal digits; the
// rest is ignored. Wraps around at 32 bits without complaint; no digits give 0.
int32_t TextToInteger(std::string_view text);

// Plain decimal: "-" for negatives, no "+", no leading zeros, no grouping.
std::string IntegerToText(int32_t value);

// A Text value keeps its line breaks in the file as the four characters "\r\n".
std::string EncodeLineBreaks(std::string_view text);  // CR LF -> "\r\n"
std::string DecodeLineBreaks(std::string_view text);  // "\r\n" -> CR LF

}  // namespace vireon
