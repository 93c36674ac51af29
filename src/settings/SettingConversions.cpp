#include "settings/SettingConversions.h"

#include <charconv>

#include "platform/AsciiText.h"

namespace vireon {

namespace {

// Replaces every `from` by `to`, left to right. Neither replacement can form a new occurrence
// (CR LF holds no backslash, "\r\n" holds no CR), so one pass gives the same text as searching
// again from the beginning after each replacement.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos;
         at = text.find(from, start)) {
        out.append(text.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(text.substr(start));
    return out;
}

}  // namespace

int32_t TextToInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Unsigned, because the value wraps around by design and signed overflow is undefined.
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

std::string IntegerToText(int32_t value) {
    char buf[16];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

std::string EncodeLineBreaks(std::string_view text) {
    return ReplaceAll(text, "\r\n", "\\r\\n");
}

std::string DecodeLineBreaks(std::string_view text) {
    return ReplaceAll(text, "\\r\\n", "\r\n");
}

}  // namespace vireon
