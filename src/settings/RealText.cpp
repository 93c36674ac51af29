#include "settings/RealText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/Errors.h"

namespace vireon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void Invalid(const std::string& text) {
    throw ConvertError(FormatMessage("'%s' is not a valid floating point value", text));
}

// Exponents this far out are beyond any double either way; saturating keeps the sum safe.
constexpr long long ExponentLimit = 1'000'000'000;

}  // namespace

double TextToReal(const std::string& text) {
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size && text[i] == ' ') ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    const std::size_t numberStart = i;
    std::size_t digits = 0;
    bool point = false;
    bool significant = false;
    // Decimal magnitude of the first significant digit, before the exponent: the number of
    // integer digits from it, or minus the zeros between the point and it.
    long long magnitude = 0;
    for (; i < size; ++i) {
        const char c = text[i];
        if (c == '.') {
            if (point) Invalid(text);
            point = true;
        } else if (IsDigit(c)) {
            ++digits;
            if (c != '0') significant = true;
            if (!point && significant) ++magnitude;
            if (point && !significant) --magnitude;
        } else {
            break;
        }
    }
    if (digits == 0) Invalid(text);

    long long exponent = 0;
    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < size && (text[i] == '+' || text[i] == '-')) exponentNegative = text[i++] == '-';
        const std::size_t exponentStart = i;
        for (; i < size && IsDigit(text[i]); ++i)
            if (exponent < ExponentLimit) exponent = exponent * 10 + (text[i] - '0');
        if (i == exponentStart) Invalid(text);
        if (exponentNegative) exponent = -exponent;
    }
    const std::size_t numberEnd = i;
    while (i < size && text[i] == ' ') ++i;
    if (i != size) Invalid(text);

    double value = 0.0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + numberEnd;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ptr != last) Invalid(text);
    if (result.ec == std::errc::result_out_of_range) {
        // Only exponents far past +-300 get here, so the sign of the magnitude tells which way.
        if (magnitude + exponent > 0) Invalid(text);
        value = 0.0;
    } else if (result.ec != std::errc()) {
        Invalid(text);
    }
    return negative ? -value : value;
}

std::string RealToText(double value) {
    if (!std::isfinite(value)) return {};
    char buf[40];
    // Rounding to 15 digits can carry the few largest doubles past the range; one digit less
    // brings them back.
    for (int precision = 15; precision > 0; --precision) {
        const auto result =
            std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
        double check = 0.0;
        if (std::from_chars(buf, result.ptr, check).ec != std::errc()) continue;
        std::string text(buf, result.ptr);
        for (char& c : text)
            if (c == 'e') c = 'E';
        return text;
    }
    return {};  // not reached for a finite value
}

}  // namespace vireon
