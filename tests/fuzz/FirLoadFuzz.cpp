// Arbitrary bytes as a coefficient file: Load must either refuse them with one of its errors
// and leave the filter as it was, or load finite coefficients that then step safely. The three
// ways of stepping (one filter, a pair, a block of a pair) must give the same bits.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "dsp/FirFilter.h"
#include "dsp/FirRun.h"
#include "dsp/kernels/Kernels.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using vireon::FirFilter;
using vireon::fuzz::Fail;

class NoBoxes final : public vireon::MessageBoxService {
public:
    void Show(const std::string&, const std::string&, int32_t) override {
        Fail("a message box for a file that exists");
    }
};

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A filter in a recognisable state, so that a refused file can be seen to change nothing.
void FillSentinel(FirFilter& f) {
    f.TapCount = 5;
    for (int32_t i = 0; i < vireon::FirCapacity; ++i) {
        f.Coefficients[i] = 0.5f + static_cast<float>(i);
        f.DelayLine[i] = -1.0f - static_cast<float>(i);
    }
}

// A short run through the kernels, every output kept.
constexpr int32_t Block = 8;

void StepAllWays(const FirFilter& loaded, const uint8_t* data, std::size_t size) {
    const int32_t taps = loaded.TapCount;
    // A couple of thousand steps for short filters; long ones at least fill their delay line.
    const int32_t steps = taps <= 64 ? 2048 : std::max(taps + 64, 65536 / taps);
    auto single = std::make_unique<FirFilter>(loaded);
    auto pairA = std::make_unique<FirFilter>(loaded);
    auto pairB = std::make_unique<FirFilter>(loaded);
    auto blockA = std::make_unique<FirFilter>(loaded);
    auto blockB = std::make_unique<FirFilter>(loaded);
    auto input = [&](int32_t k) -> float {
        if (size == 0) return 1.0f;
        return static_cast<float>(int32_t{data[static_cast<std::size_t>(k) % size]} - 128);
    };
    for (int32_t k = 0; k + Block <= steps; k += Block) {
        float xa[Block], xb[Block], ya[Block], yb[Block];
        for (int32_t j = 0; j < Block; ++j) {
            xa[j] = input(k + j);
            xb[j] = -xa[j];
        }
        vireon::StepPairRun(*blockA, xa, ya, *blockB, xb, yb, Block, {0, 1, Block},
                            vireon::Chosen().fir.run);
        for (int32_t j = 0; j < Block; ++j) {
            const float y = single->Step(xa[j]);
            float pa = 0.0f, pb = 0.0f;
            vireon::StepPair(*pairA, xa[j], pa, *pairB, xb[j], pb);
            if (!SameBits(y, pa) || !SameBits(y, ya[j])) Fail("stepping ways disagree");
            if (!SameBits(pb, yb[j])) Fail("the second filter of a pair disagrees");
            if (taps == 0 && y != 0.0f) Fail("an empty filter gave a non-zero output");
        }
    }
    if (single->TapCount != taps || blockA->TapCount != taps) Fail("stepping changed TapCount");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string path = vireon::fuzz::ScratchPath("fir");
    vireon::fuzz::WriteFileBytes(path, data, size);

    auto filter = std::make_unique<FirFilter>();
    FillSentinel(*filter);
    auto before = std::make_unique<FirFilter>(*filter);
    NoBoxes boxes;
    try {
        filter->Load(path, boxes);
    } catch (const vireon::Error&) {
        if (std::memcmp(filter.get(), before.get(), sizeof(FirFilter)) != 0)
            Fail("a refused file changed the filter");
        return 0;
    }
    const int32_t taps = filter->TapCount;
    if (taps < 0 || taps > vireon::FirCapacity) Fail("tap count outside the record");
    for (int32_t i = 0; i < taps; ++i) {
        if (!std::isfinite(filter->Coefficients[i])) Fail("a coefficient that is not finite");
        if (filter->DelayLine[i] != 0.0f) Fail("the delay line was not cleared");
    }
    StepAllWays(*filter, data, size);
    return 0;
}
