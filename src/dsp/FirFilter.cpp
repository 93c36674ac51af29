#include "dsp/FirFilter.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "dsp/NumberText.h"
#include "platform/AsciiText.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

namespace vireon {

namespace {

// Above this a double rounds to infinity in single precision (FLT_MAX plus half its last step).
constexpr double FloatOverflowThreshold = 0x1.ffffffp+127;

// The value of the first "name=value" line whose name matches; empty when none does.
std::string FindValue(const std::vector<std::string>& lines, std::string_view name) {
    for (const auto& line : lines) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (EqualsIgnoringAsciiCase(std::string_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return {};
}

int32_t ReadTapCount(const std::vector<std::string>& lines) {
    const std::string value = FindValue(lines, "NTaps");
    auto n = ParseInt32(value);
    if (!n) throw ConvertError(FormatMessage("'%s' is not a valid integer value", value));
    if (*n < 0 || *n > FirCapacity)
        throw ConvertError(FormatMessage("'%s' is not a valid tap count (0 to 1024 taps)", value));
    return *n;
}

float ReadCoefficient(const std::string& line, std::size_t lineNumber) {
    const double value = ReadLeadingDecimal(line);
    if (std::fabs(value) >= FloatOverflowThreshold)
        throw ConvertError("Filter coefficient '" + line + "' on line " +
                           std::to_string(lineNumber) + " is outside the single-precision range");
    return static_cast<float>(value);
}

}  // namespace

void FirFilter::Load(const std::string& path, MessageBoxService& boxes) {
    if (!FileExists(path)) {
        boxes.Show("Cannot load the filter " + path, "Load FIR filter", MB_ICONERROR);
        return;
    }
    const std::vector<std::string> lines = ReadLines(path);
    const int32_t n = ReadTapCount(lines);

    // Everything is read before anything changes, so a bad file leaves the filter as it was.
    float loaded[FirCapacity];
    for (int32_t i = 0; i < n; ++i) {
        const std::size_t index = static_cast<std::size_t>(i) + 1;  // line i + 2 of the file
        if (index >= lines.size()) throw ListIndexError(static_cast<long long>(index));
        loaded[i] = ReadCoefficient(lines[index], index + 1);
    }

    TapCount = n;
    for (int32_t i = 0; i < n; ++i) {
        DelayLine[i] = 0.0f;
        Coefficients[i] = loaded[i];
    }
}

float FirFilter::Step(float x) {
    const int32_t taps = TapCount;
    if (taps <= 0) return 0.0f;
    std::memmove(DelayLine, DelayLine + 1, static_cast<std::size_t>(taps - 1) * sizeof(float));
    DelayLine[taps - 1] = x;
    // The product is exact in double; the running sum is rounded to float after every addition.
    float sum = 0.0f;
    for (int32_t i = 0; i < taps; ++i)
        sum = static_cast<float>(double(sum) + double(Coefficients[i]) * double(DelayLine[i]));
    return sum;
}

void StepPair(FirFilter& a, float xa, float& ya, FirFilter& b, float xb, float& yb) {
    const int32_t taps = a.TapCount;
    if (&a == &b || taps != b.TapCount || taps <= 0) {
        ya = a.Step(xa);
        yb = b.Step(xb);
        return;
    }
    const std::size_t moved = static_cast<std::size_t>(taps - 1) * sizeof(float);
    std::memmove(a.DelayLine, a.DelayLine + 1, moved);
    std::memmove(b.DelayLine, b.DelayLine + 1, moved);
    a.DelayLine[taps - 1] = xa;
    b.DelayLine[taps - 1] = xb;
    // Two independent rounding chains side by side: each waits only on itself, so the core
    // overlaps them. Every operation is the one Step performs, so the bits are the same.
    float sumA = 0.0f;
    float sumB = 0.0f;
    for (int32_t i = 0; i < taps; ++i) {
        sumA =
            static_cast<float>(double(sumA) + double(a.Coefficients[i]) * double(a.DelayLine[i]));
        sumB =
            static_cast<float>(double(sumB) + double(b.Coefficients[i]) * double(b.DelayLine[i]));
    }
    ya = sumA;
    yb = sumB;
}

}  // namespace vireon
