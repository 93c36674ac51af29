// The coefficient file that ships with the program, and the whole chain running on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "dsp/SignalChain.h"
#include "tests/dsp/ChainTestSupport.h"
#include "tests/support/FakeMessageBoxes.h"

namespace vireon {
namespace {

using testing::FakeMessageBoxes;
using testing::RecordingSink;

std::unique_ptr<SignalChain> ChainWithShippedFilters() {
    auto chain = std::make_unique<SignalChain>();
    FakeMessageBoxes boxes;
    SetUpChain(*chain, VIREON_FIR_FILE, boxes);
    EXPECT_TRUE(boxes.shown.empty());
    return chain;
}

double GainDb(const FirFilter& f, double frequency) {
    std::complex<double> sum = 0.0;
    for (int32_t i = 0; i < f.TapCount; ++i)
        sum += double(f.Coefficients[i]) *
               std::polar(1.0, -2.0 * std::numbers::pi * frequency * i / 8000.0);
    return 20.0 * std::log10(std::abs(sum));
}

TEST(ShippedFilter, IsALinearPhaseLowPassThatMeetsItsDesign) {
    auto chain = ChainWithShippedFilters();
    const FirFilter& f = chain->FilterSin;
    ASSERT_EQ(f.TapCount, 127);
    for (int32_t i = 0; i < 127; ++i) EXPECT_EQ(f.Coefficients[i], f.Coefficients[126 - i]) << i;
    double passWorst = 0.0;
    for (double hz = 0.0; hz <= 1100.0; hz += 1.0)
        passWorst = std::max(passWorst, std::fabs(GainDb(f, hz)));
    EXPECT_LT(passWorst, 0.1);
    double stopWorst = -1000.0;
    for (double hz = 1333.0; hz <= 4000.0; hz += 1.0)
        stopWorst = std::max(stopWorst, GainDb(f, hz));
    EXPECT_LE(stopWorst, -60.0);
}

// The last frame of two seconds of a tone of amplitude 100.
std::vector<float> LastFrameOfTone(double frequency) {
    auto chain = ChainWithShippedFilters();
    RecordingSink sink;
    const auto bytes = testing::SineBytes(frequency, 100.0, 4000);
    ProcessSamples(*chain, bytes.data(), static_cast<int32_t>(bytes.size()), sink);
    EXPECT_EQ(sink.frames.size(), 15u);
    return sink.frames.back();
}

TEST(ShippedFilter, TonesLandAtTheirBins) {
    struct Case {
        double frequency;
        int index;
    };
    for (const Case c : {Case{1000, 80}, Case{1500, 128}, Case{2000, 176}, Case{1250, 104},
                         Case{833.33333333333333, 64}}) {
        SCOPED_TRACE(c.frequency);
        const auto last = LastFrameOfTone(c.frequency);
        EXPECT_EQ(std::max_element(last.begin(), last.end()) - last.begin(), c.index);
    }
}

TEST(ShippedFilter, ATonePeaksAtHalfItsAmplitudeTimesTheWindowLength) {
    // A steady tone of amplitude A becomes a complex tone of A/2; the window has a mean of 1 and
    // the transform no 1/N, so the peak is close to 256 * A / 2 when the tone sits on a bin.
    const auto last = LastFrameOfTone(1500.0 + 8000.0 / 768.0 * 10);
    EXPECT_NEAR(last[138], 256.0 * 100.0 / 2.0, 256.0 * 100.0 / 2.0 * 0.02);
    // Far from the tone the window and the filter leave little.
    EXPECT_LT(last[20], last[138] * 1e-3);
}

TEST(ShippedFilter, FoldedFrequenciesStayOutOfTheDisplay) {
    // 3000 Hz mixes down to -1500 Hz, outside the band the decimation keeps apart; unless the
    // filter removes it, it folds onto +1166.67 Hz, where 333.33 Hz audio shows (index 16).
    // (The tone's 8-bit rounding repeats every 8 samples and so adds real lines at 1000 and
    // 2000 Hz; those are not checked here.)
    const auto last = LastFrameOfTone(3000.0);
    const double inBandPeak = 256.0 * 100.0 / 2.0;
    for (int i = 14; i <= 18; ++i) EXPECT_LT(last[i], inBandPeak * 1e-3) << i;  // 60 dB down
}

}  // namespace
}  // namespace vireon
