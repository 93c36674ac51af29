#pragma once
// Letter case and white space as the "C" locale sees them. The names and numbers the program
// reads from its files and its command line are ASCII, and the user's locale must not change
// how they are read.
#include <string_view>

namespace vireon {

// Space, tab, LF, vertical tab, form feed and CR: isspace() in the "C" locale.
inline bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

inline bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace vireon
