#include "dsp/Waterfall.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include "dsp/math/ChainMath.h"
#include "tests/support/MemorySurface.h"

namespace vireon {
namespace {

using testing::MemorySurface;

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

// A value whose logarithm (as the renderer takes it) is 1.
const float LogOne = static_cast<float>(std::numbers::e - 1.0);

// One row's grey computed on its own, dividing for each tap: the definition the column's
// stepping must match.
uint8_t ReferenceRowGrey(const WaterfallRenderer& r, int32_t count, int32_t height, int32_t row) {
    const int64_t c = count, h = height;
    const int64_t b = (row * c) / h;
    const int64_t lo = std::max<int64_t>(((row - 1) * c) / h, 0);
    const int64_t hi = std::min<int64_t>(((row + 1) * c) / h, c - 1);
    const double scale = r.Scale;
    const double sum = scale * double(r.LogSpectrum[b]) + scale * double(r.LogSpectrum[lo]) +
                       scale * double(r.LogSpectrum[hi]);
    return static_cast<uint8_t>(sum > 0.0 ? static_cast<int32_t>(std::min(sum, 767.0)) / 3 : 0);
}

// The grey ColumnGreys gives one row of the column last prepared.
uint8_t Grey(const WaterfallRenderer& r, int32_t count, int32_t height, int32_t row) {
    std::vector<uint8_t> greys(static_cast<std::size_t>(height));
    ColumnGreys(r, count, height, greys.data());
    return greys[static_cast<std::size_t>(row)];
}

// Grey of a row when one entry holds the frame's only non-zero value and `taps` of the row's
// three taps fall on it: 256 * taps / 3, at most 255.
uint8_t GreyForTaps(int taps) {
    return static_cast<uint8_t>(std::min(256 * taps / 3, 255));
}

// The (b, lo, hi) taps of a row, found by lighting one entry at a time.
std::vector<int> TapsOfRow(int32_t count, int32_t height, int32_t row) {
    auto r = std::make_unique<WaterfallRenderer>();
    std::vector<int> taps;
    std::vector<float> values(static_cast<std::size_t>(count), 0.0f);
    for (int32_t e = 0; e < count; ++e) {
        values[static_cast<std::size_t>(e)] = LogOne;
        PrepareColumn(*r, values.data(), count);
        const uint8_t grey = Grey(*r, count, height, row);
        values[static_cast<std::size_t>(e)] = 0.0f;
        for (int m = 1; m <= 3; ++m)
            if (grey == GreyForTaps(m)) taps.insert(taps.end(), m, e);
        EXPECT_TRUE(grey == 0 || grey == 85 || grey == 170 || grey == 255) << int(grey);
    }
    return taps;
}

TEST(WaterfallRows, MapRowsToThreeSpectrumEntries) {
    struct Case {
        int32_t count, height, row;
        std::vector<int> taps;  // b, lo, hi in increasing order
    };
    const Case cases[] = {
        {256, 298, 0, {0, 0, 0}},         {256, 298, 1, {0, 0, 1}}, {256, 298, 2, {0, 1, 2}},
        {256, 298, 297, {254, 255, 255}}, {256, 100, 0, {0, 0, 2}}, {256, 100, 1, {0, 2, 5}},
        {256, 100, 99, {250, 253, 255}},  {1, 5, 3, {0, 0, 0}},     {4096, 3, 1, {0, 1365, 2730}},
        {256, 1, 0, {0, 0, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " entries, height " + std::to_string(c.height) +
                     ", row " + std::to_string(c.row));
        EXPECT_EQ(TapsOfRow(c.count, c.height, c.row), c.taps);
    }
}

// The whole-column forms step through the rows instead of dividing: the same greys as the
// reference for every row, including a surface lower than the picture.
TEST(WaterfallRows, WholeColumnsGiveTheGreysOfTheReference) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> magnitude(0.0f, 5000.0f);
    auto r = std::make_unique<WaterfallRenderer>();
    for (const auto& [count, height] : {std::pair{256, 298},
                                        {256, 100},
                                        {256, 256},
                                        {1, 5},
                                        {4096, 3},
                                        {256, 1},
                                        {7, 1079},
                                        {4096, 4095}}) {
        SCOPED_TRACE(std::to_string(count) + " entries, height " + std::to_string(height));
        std::vector<float> values(static_cast<std::size_t>(count));
        for (auto& v : values) v = magnitude(random);
        std::vector<uint8_t> greys(static_cast<std::size_t>(height));
        PrepareColumn(*r, values.data(), count);
        ColumnGreys(*r, count, height, greys.data());
        MemorySurface low(2, height / 2 + 1, 0);
        DrawColumn(*r, low, 1, height, values.data(), count);
        for (int32_t row = 0; row < height; ++row) {
            const uint8_t expected = ReferenceRowGrey(*r, count, height, row);
            ASSERT_EQ(greys[static_cast<std::size_t>(row)], expected) << row;
            const int32_t y = height - 1 - row;
            if (y < low.Height()) {
                ASSERT_EQ(low.Grey(1, y), expected) << row;
            }
        }
    }
}

TEST(WaterfallColumn, SilenceIsBlack) {
    auto r = std::make_unique<WaterfallRenderer>();
    std::vector<float> zeros(256, 0.0f);
    MemorySurface surface(4, 298);
    DrawSpectrum(*r, surface, 4, 298, zeros.data(), 256);
    EXPECT_EQ(r->Scale, 1.0f);
    for (int y = 0; y < 298; ++y) EXPECT_EQ(surface.Pixel(3, y), 0u) << y;
}

TEST(WaterfallColumn, NormalisesToTheFrameMaximum) {
    auto r = std::make_unique<WaterfallRenderer>();
    std::vector<float> values(256, 0.0f);
    values[100] = LogOne;
    values[200] = static_cast<float>(std::exp(0.5) - 1.0);  // half the maximum's logarithm
    PrepareColumn(*r, values.data(), 256);
    EXPECT_NEAR(r->Scale, 256.0f, 1e-4);
    // Equal count and height: row i has taps (i, i - 1, i + 1).
    EXPECT_EQ(Grey(*r, 256, 256, 100), 85);
    EXPECT_EQ(Grey(*r, 256, 256, 99), 85);
    EXPECT_EQ(Grey(*r, 256, 256, 200), 42);
    EXPECT_EQ(Grey(*r, 256, 256, 150), 0);
    // Scaling every value by the same factor in the log domain leaves the picture unchanged.
    for (auto& v : values) v = static_cast<float>(std::expm1(7.0 * std::log1p(double(v))));
    PrepareColumn(*r, values.data(), 256);
    EXPECT_EQ(Grey(*r, 256, 256, 100), 85);
}

TEST(WaterfallColumn, ClampsTheScaleOfANearlySilentFrame) {
    auto r = std::make_unique<WaterfallRenderer>();
    std::vector<float> values(256, static_cast<float>(std::expm1(0.01)));
    PrepareColumn(*r, values.data(), 256);
    EXPECT_EQ(r->Scale, 16384.0f);
    for (int32_t row : {0, 1, 150, 297}) EXPECT_EQ(Grey(*r, 256, 298, row), 163) << row;
    // The smallest logarithm above 0 asks for a scale of about 2e9.
    values.assign(256, 0.0f);
    values[7] = 1.2e-7f;
    PrepareColumn(*r, values.data(), 256);
    EXPECT_GT(r->LogSpectrum[7], 0.0f);
    EXPECT_EQ(r->Scale, 16384.0f);
}

TEST(WaterfallColumn, AddsOneInSinglePrecisionBeforeTheLogarithm) {
    auto r = std::make_unique<WaterfallRenderer>();
    const float values[] = {1e-8f, 3.0f};
    PrepareColumn(*r, values, 2);
    EXPECT_EQ(r->LogSpectrum[0], 0.0f);  // 1e-8f + 1.0f is exactly 1.0f
    float four = 4.0f;
    ChainLogs(&four, 1);
    EXPECT_EQ(r->LogSpectrum[1], four);
}

TEST(WaterfallColumn, OddValuesStillGiveAGreyInRange) {
    struct Case {
        float logValue;
        uint8_t grey;
    };
    // Set straight into the log array: the sums a corrupt spectrum could produce.
    const Case cases[] = {{NaN, 0},    {Inf, 255},   {-Inf, 0},  {1e30f, 255},
                          {-1e30f, 0}, {-0.001f, 0}, {1.0f, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logValue);
        auto r = std::make_unique<WaterfallRenderer>();
        r->Scale = 16384.0f;
        for (int i = 0; i < 8; ++i) r->LogSpectrum[i] = c.logValue;
        EXPECT_EQ(Grey(*r, 8, 8, 4), c.grey);
    }
    // Through the whole column: NaN, infinite and negative magnitudes draw without failing.
    const float values[] = {NaN, Inf, -1.0f, -2.0f, -0.5f, 3.0f, 0.0f, 1e38f};
    auto r = std::make_unique<WaterfallRenderer>();
    MemorySurface surface(2, 8);
    DrawSpectrum(*r, surface, 2, 8, values, 8);
    // The infinite maximum makes the scale 0: finite rows sum to 0, the others to NaN.
    EXPECT_EQ(r->Scale, 0.0f);
    for (int y = 0; y < 8; ++y) EXPECT_EQ(surface.Pixel(1, y), 0u) << y;
}

TEST(WaterfallDraw, PaintsBottomUpAtTheRightEdgeAndScrollsLeft) {
    auto r = std::make_unique<WaterfallRenderer>();
    MemorySurface surface(6, 256, 0x0000FF);
    std::vector<float> first(256, 0.0f), second(256, 0.0f);
    first[0] = LogOne;     // lights the bottom rows
    second[255] = LogOne;  // lights the top rows
    DrawSpectrum(*r, surface, 6, 256, first.data(), 256);
    EXPECT_EQ(surface.Grey(5, 255), 170);  // row 0: taps (0, 0, 1)
    EXPECT_EQ(surface.Grey(5, 0), 0);
    EXPECT_EQ(surface.Grey(4, 255), 170);  // the scroll leaves the new column twice
    EXPECT_EQ(surface.Pixel(3, 255), 0x0000FFu);
    EXPECT_EQ(surface.copyCalls, 1);

    DrawSpectrum(*r, surface, 6, 256, second.data(), 256);
    EXPECT_EQ(surface.Grey(5, 0), 170);  // row 255: taps (255, 254, 255)
    EXPECT_EQ(surface.Grey(4, 0), 170);
    EXPECT_EQ(surface.Grey(4, 255), 0);
    EXPECT_EQ(surface.Grey(3, 255), 170);  // the first column, one further left
    EXPECT_EQ(surface.Grey(3, 0), 0);
    EXPECT_EQ(surface.Pixel(2, 255), 0x0000FFu);
}

TEST(WaterfallDraw, LeavesTheSurfaceOutsideTheVisibleAreaAlone) {
    auto r = std::make_unique<WaterfallRenderer>();
    const uint32_t marker = 0x123456;
    MemorySurface surface(12, 10, marker);  // two spare columns and rows, as the bevel leaves
    std::vector<float> values(16, LogOne);
    for (int i = 0; i < 3; ++i) DrawSpectrum(*r, surface, 10, 8, values.data(), 16);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool visible = x < 10 && y < 8;
            const bool drawn = visible && x >= 6;  // three calls: columns 6 .. 9
            if (drawn) {
                EXPECT_EQ(surface.Grey(x, y), 255) << x << "," << y;
            } else {
                EXPECT_EQ(surface.Pixel(x, y), marker) << x << "," << y;
            }
        }
}

// Fails the test on any pixel write or copy that reaches outside the surface.
class StrictSurface final : public ImageSurface {
public:
    StrictSurface(int32_t w, int32_t h) : inner_(w, h, 0) {}
    int32_t Width() const override { return inner_.Width(); }
    int32_t Height() const override { return inner_.Height(); }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        EXPECT_TRUE(x >= 0 && y >= 0 && x < Width() && y < Height()) << x << "," << y;
        inner_.SetPixel(x, y, r, g, b);
        ++pixels;
    }
    void CopyRect(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy) override {
        EXPECT_TRUE(sx >= 0 && sy >= 0 && dx >= 0 && dy >= 0 && sx + w <= Width() &&
                    dx + w <= Width() && sy + h <= Height() && dy + h <= Height());
        inner_.CopyRect(sx, sy, w, h, dx, dy);
        ++copies;
    }
    MemorySurface inner_;
    int pixels = 0;
    int copies = 0;
};

TEST(WaterfallDraw, DrawsOnlyWhatFitsOnASmallSurface) {
    std::vector<float> values(256, 1.0f);
    auto r = std::make_unique<WaterfallRenderer>();
    StrictSurface narrow(5, 20);
    DrawSpectrum(*r, narrow, 8, 30, values.data(), 256);  // column x = 7 does not exist
    EXPECT_EQ(narrow.pixels, 0);
    EXPECT_EQ(narrow.copies, 1);

    StrictSurface low(8, 20);
    DrawSpectrum(*r, low, 8, 30, values.data(), 256);
    EXPECT_EQ(low.pixels, 20);  // the rows that reach y 0..19: the top ones

    StrictSurface empty(0, 0);
    DrawSpectrum(*r, empty, 605, 298, values.data(), 256);
    EXPECT_EQ(empty.pixels + empty.copies, 0);
}

TEST(WaterfallDraw, ZeroHeightOrBadCountDrawsNothing) {
    auto r = std::make_unique<WaterfallRenderer>();
    MemorySurface surface(4, 4, 0xABCDEF);
    std::vector<float> values(5000, 2.0f);
    DrawSpectrum(*r, surface, 4, 0, values.data(), 256);
    DrawSpectrum(*r, surface, 0, 4, values.data(), 256);
    DrawSpectrum(*r, surface, 4, 4, values.data(), 0);
    DrawSpectrum(*r, surface, 4, 4, values.data(), -3);
    EXPECT_EQ(surface.setPixelCalls, 0);
    EXPECT_EQ(surface.Pixel(0, 0), 0xABCDEFu);
    // More entries than the log array holds: only the first 4096 are read.
    values[4500] = 1e30f;
    DrawSpectrum(*r, surface, 4, 4, values.data(), 5000);
    EXPECT_EQ(surface.Grey(3, 0), 255);
    EXPECT_EQ(r->Scale, static_cast<float>(256.0 / double(r->LogSpectrum[0])));
}

}  // namespace
}  // namespace vireon
