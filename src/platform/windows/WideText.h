#pragma once
// The program keeps its text in UTF-8; Windows' wide-character calls take UTF-16. These two are
// the only crossing, at the call.
#include <string>
#include <string_view>

namespace vireon {

// Bytes that are not UTF-8 become U+FFFD (no file can be named with them).
std::wstring Widen(std::string_view utf8);
// A lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);

}  // namespace vireon
