#include "dsp/Waterfall.h"

#include <algorithm>
#include <cmath>

namespace vireon {

namespace {

constexpr double MaxScale = 16384.0;

int32_t ClampCount(int32_t count) {
    return std::min(count, WaterfallCapacity);
}

// Grey of a three-tap sum: truncated, divided by three, at most white. A NaN, a negative or an
// enormous sum is never converted to an integer directly (that would be undefined).
uint8_t GreyOfSum(double sum) {
    if (!(sum > 0.0)) return 0;  // also NaN
    if (sum >= 768.0) return 255;
    const int32_t n = static_cast<int32_t>(sum);  // truncation toward zero
    return static_cast<uint8_t>(std::min(n / 3, 255));
}

}  // namespace

void PrepareColumn(WaterfallRenderer& r, const float* values, int32_t count) {
    count = ClampCount(count);
    float max = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
        // values[i] + 1 is a float addition; only the logarithm runs in double.
        const float shifted = values[i] + 1.0f;
        r.LogSpectrum[i] = static_cast<float>(std::log(double(shifted)));
        if (r.LogSpectrum[i] > max) max = r.LogSpectrum[i];
    }
    if (max == 0.0f) {
        r.Scale = 1.0f;
        return;
    }
    // Clamping the double before rounding gives the same float as clamping the rounded value.
    double scale = 256.0 / double(max);
    if (scale > MaxScale) scale = MaxScale;
    r.Scale = static_cast<float>(scale);
}

uint8_t RowGrey(const WaterfallRenderer& r, int32_t count, int32_t height, int32_t row) {
    count = ClampCount(count);
    if (count < 1 || height < 1 || row < 0 || row >= height) return 0;
    // 64-bit products: the same quotients as 32-bit ones for any real picture, and no overflow
    // for absurd heights.
    const int64_t c = count;
    const int64_t h = height;
    const int32_t b = static_cast<int32_t>((row * c) / h);
    const int32_t lo = static_cast<int32_t>(std::max<int64_t>(((row - 1) * c) / h, 0));
    const int32_t hi = static_cast<int32_t>(std::min<int64_t>(((row + 1) * c) / h, c - 1));
    const double scale = r.Scale;
    const double sum = scale * double(r.LogSpectrum[b]) + scale * double(r.LogSpectrum[lo]) +
                       scale * double(r.LogSpectrum[hi]);
    return GreyOfSum(sum);
}

void DrawSpectrum(WaterfallRenderer& r, ImageSurface& surface, int32_t width, int32_t height,
                  const float* values, int32_t count) {
    if (values == nullptr || count < 1) return;
    PrepareColumn(r, values, count);
    if (width < 1 || height < 1) return;

    // Only the part of the width x height picture that the surface really has is touched.
    const int32_t x = width - 1;
    const int32_t rows = std::min(height, surface.Height());
    if (x < surface.Width()) {
        // Row 0 is the bottom line (y = height - 1); rows whose line the surface lacks are skipped.
        for (int32_t row = height - rows; row < height; ++row) {
            const uint8_t grey = RowGrey(r, count, height, row);
            surface.SetPixel(x, height - 1 - row, grey, grey, grey);
        }
    }
    const int32_t columns = std::min(width, surface.Width());
    if (columns > 1 && rows > 0) surface.CopyRect(1, 0, columns - 1, rows, 0, 0);
}

}  // namespace vireon
