#include "dsp/NumberText.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

#include "platform/AsciiText.h"

namespace vireon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    // Eight hex digits cover the whole 32-bit pattern; the top bit makes it negative.
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

std::optional<int32_t> ParseInt32(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::string_view rest = text.substr(i);
    if (rest.empty()) return std::nullopt;

    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') return ParseHex(rest.substr(1));
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        return ParseHex(rest.substr(2));

    bool negative = false;
    if (rest[0] == '+' || rest[0] == '-') {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty()) return std::nullopt;
    // Magnitude up to 2^31 fits in 64 bits with room to detect overflow digit by digit.
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t value = 0;
    for (char c : rest) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

double ReadLeadingDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;

    const std::size_t signPos = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;

    // Decimal exponent of the first significant digit (value = 0.d1d2... x 10^scale), kept only
    // to tell an overflow from an underflow when the conversion reports the range error.
    int64_t scale = 0;
    bool seenSignificant = false;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        if (text[i] != '0') seenSignificant = true;
        if (seenSignificant) ++scale;
        ++digits, ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            if (text[i] != '0') seenSignificant = true;
            if (!seenSignificant) --scale;
            ++digits, ++i;
        }
    }
    if (digits == 0) return 0.0;  // no number: "", "abc", ".", "inf", "nan", "-"
    std::size_t end = i;

    // The exponent counts only when at least one digit follows "e" and its optional sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            int64_t exponent = 0;
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            scale += expNegative ? -exponent : exponent;
            end = j;
        }
    }
    if (!seenSignificant) return negative ? -0.0 : 0.0;

    // from_chars takes a leading "-" but not "+", and never consults the locale.
    const char* first = text.data() + (negative ? signPos : mantissaStart);
    const char* last = text.data() + end;
    double value = 0.0;
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const double magnitude = scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return negative ? -magnitude : magnitude;
    }
    if (result.ec != std::errc() || result.ptr != last) return 0.0;  // cannot happen: scanned above
    return value;
}

}  // namespace vireon
