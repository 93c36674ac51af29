#include "dsp/Waterfall.h"

#include <algorithm>
#include "dsp/math/ChainMath.h"

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

// The three spectrum entries of row after row, stepping the quotients instead of dividing for
// every row.
class RowTaps {
public:
    RowTaps(int32_t count, int32_t height, int32_t row)
        : count_(count), height_(height), step_(count / height), carry_(count % height) {
        // Entries of row - 1, row and row + 1; (row - 1) * count / h truncates toward zero.
        const int64_t c = count, h = height;
        below_ = row > 0 ? static_cast<int32_t>(((row - 1) * c) / h) : 0;
        at_ = static_cast<int32_t>((row * c) / h);
        above_ = static_cast<int32_t>(((row + 1) * c) / h);
        rest_ = static_cast<int32_t>(((row + 1) * c) % h);
    }
    int32_t b() const { return at_; }
    int32_t lo() const { return below_; }
    int32_t hi() const { return std::min(above_, count_ - 1); }
    void Next() {
        below_ = at_;
        at_ = above_;
        above_ += step_;
        rest_ += carry_;
        if (rest_ >= height_) {
            rest_ -= height_;
            ++above_;
        }
    }

private:
    int32_t count_, height_, step_, carry_;
    int32_t below_, at_, above_, rest_;
};

uint8_t GreyOf(const WaterfallRenderer& r, const RowTaps& taps) {
    const double scale = r.Scale;
    const double sum = scale * double(r.LogSpectrum[taps.b()]) +
                       scale * double(r.LogSpectrum[taps.lo()]) +
                       scale * double(r.LogSpectrum[taps.hi()]);
    return GreyOfSum(sum);
}

}  // namespace

void PrepareColumn(WaterfallRenderer& r, const float* values, int32_t count) {
    count = ClampCount(count);
    // values[i] + 1 is a float addition; only the logarithm runs in double.
    for (int32_t i = 0; i < count; ++i) r.LogSpectrum[i] = values[i] + 1.0f;
    ChainLogs(r.LogSpectrum, count);
    float max = 0.0f;
    for (int32_t i = 0; i < count; ++i)
        if (r.LogSpectrum[i] > max) max = r.LogSpectrum[i];
    if (max == 0.0f) {
        r.Scale = 1.0f;
        return;
    }
    // Clamping the double before rounding gives the same float as clamping the rounded value.
    double scale = 256.0 / double(max);
    if (scale > MaxScale) scale = MaxScale;
    r.Scale = static_cast<float>(scale);
}

void ColumnGreys(const WaterfallRenderer& r, int32_t count, int32_t height, uint8_t* greys) {
    count = ClampCount(count);
    if (count < 1 || height < 1) return;
    RowTaps taps(count, height, 0);
    for (int32_t row = 0; row < height; ++row, taps.Next()) greys[row] = GreyOf(r, taps);
}

void DrawColumn(WaterfallRenderer& r, ImageSurface& surface, int32_t x, int32_t height,
                const float* values, int32_t count) {
    if (values == nullptr || count < 1) return;
    PrepareColumn(r, values, count);
    if (x < 0 || x >= surface.Width() || height < 1) return;
    count = ClampCount(count);
    // Row 0 is the bottom line (y = height - 1); rows whose line the surface lacks are skipped.
    const int32_t rows = std::min(height, surface.Height());
    // The greys of a run of rows first, then their pixels: the surface's calls do not stall
    // the arithmetic.
    constexpr int32_t Run = 512;
    uint8_t greys[Run];
    RowTaps taps(count, height, height - rows);
    for (int32_t row = height - rows; row < height;) {
        const int32_t n = std::min(Run, height - row);
        for (int32_t k = 0; k < n; ++k, taps.Next()) greys[k] = GreyOf(r, taps);
        surface.SetGreysUpwards(x, height - 1 - row, greys, n);
        row += n;
    }
}

void DrawSpectrum(WaterfallRenderer& r, ImageSurface& surface, int32_t width, int32_t height,
                  const float* values, int32_t count) {
    if (values == nullptr || count < 1) return;
    if (width < 1 || height < 1) {
        PrepareColumn(r, values, count);
        return;
    }
    // Only the part of the width x height picture that the surface really has is touched.
    DrawColumn(r, surface, width - 1, height, values, count);
    const int32_t rows = std::min(height, surface.Height());
    const int32_t columns = std::min(width, surface.Width());
    if (columns > 1 && rows > 0) surface.CopyRect(1, 0, columns - 1, rows, 0, 0);
}

}  // namespace vireon
