#include "tools/render/SincKernel.h"

#include <algorithm>

namespace vireon::render {

namespace {

constexpr int32_t FractionBits = 12;
constexpr int32_t FractionMask = (1 << FractionBits) - 1;

// One half filter's running sum: taps from the far end towards the centre.
struct Chain {
    int32_t index;  // fixed point
    const double* x;
    int32_t taps;
    double sum = 0.0;
};

// The library's coefficient, c[i] + fraction * (c[i + 1] - c[i]), then its product.
inline void Tap(const SincTables& t, Chain& c, int32_t increment, std::ptrdiff_t direction) {
    const SincPair& p = t.pairs[static_cast<std::size_t>(c.index >> FractionBits)];
    c.sum +=
        (p.coefficient + t.fraction[static_cast<std::size_t>(c.index & FractionMask)] * p.slope) *
        *c.x;
    c.index -= increment;
    c.x += direction;
}

// The left half starts `taps` whole increments above start and runs while the index is not
// negative; the right half starts as far above increment - start and runs while it stays
// positive, taking at least one tap.
inline void Halves(const SincKernelArgs& a, const SincPoint& p, Chain& left, Chain& right) {
    const int32_t increment = a.geometry.increment;
    const int32_t maxIndex = a.geometry.maxIndex;
    const double* centre = a.input + (p.centre - a.inputFirst);
    int32_t taps = (maxIndex - p.start) / increment;
    left.index = p.start + taps * increment;
    left.x = centre - taps;
    left.taps = left.index / increment + 1;
    const int32_t first = increment - p.start;
    taps = (maxIndex - first) / increment;
    right.index = first + taps * increment;
    right.x = centre + 1 + taps;
    right.taps = first > 0 || taps == 0 ? taps + 1 : taps;
}

inline void Finish(const SincTables& t, Chain& c, int32_t from, int32_t increment,
                   std::ptrdiff_t direction) {
    for (int32_t k = from; k < c.taps; ++k) Tap(t, c, increment, direction);
}

}  // namespace

SincTables::SincTables(const SincFilter& filter) : fraction(1 << FractionBits) {
    const std::vector<float>& c = filter.coefficients;
    pairs.resize(c.size() - 1);
    // The difference is taken in float, as the library takes it.
    for (std::size_t i = 0; i + 1 < c.size(); ++i) pairs[i] = {c[i], c[i + 1] - c[i]};
    for (int32_t f = 0; f <= FractionMask; ++f)
        fraction[static_cast<std::size_t>(f)] = f * (1.0 / (1 << FractionBits));
}

// Four outputs at a time: their eight half sums are independent, so each waits on its own
// additions only.
void ComputeSincOutputs(const SincKernelArgs& a) {
    const SincTables& t = *a.tables;
    const int32_t increment = a.geometry.increment;
    std::size_t n = 0;
    for (; n + 4 <= a.count; n += 4) {
        Chain c[8];
        for (int k = 0; k < 4; ++k) Halves(a, a.points[n + k], c[2 * k], c[2 * k + 1]);
        int32_t common = c[0].taps;
        for (int k = 1; k < 8; ++k) common = std::min(common, c[k].taps);
        for (int32_t k = 0; k < common; ++k) {
            Tap(t, c[0], increment, 1);
            Tap(t, c[1], increment, -1);
            Tap(t, c[2], increment, 1);
            Tap(t, c[3], increment, -1);
            Tap(t, c[4], increment, 1);
            Tap(t, c[5], increment, -1);
            Tap(t, c[6], increment, 1);
            Tap(t, c[7], increment, -1);
        }
        for (int k = 0; k < 8; ++k) Finish(t, c[k], common, increment, k % 2 == 0 ? 1 : -1);
        for (int k = 0; k < 4; ++k)
            a.out[n + k] = static_cast<float>(a.geometry.scale * (c[2 * k].sum + c[2 * k + 1].sum));
    }
    for (; n < a.count; ++n) {
        Chain l{}, r{};
        Halves(a, a.points[n], l, r);
        Finish(t, l, 0, increment, 1);
        Finish(t, r, 0, increment, -1);
        a.out[n] = static_cast<float>(a.geometry.scale * (l.sum + r.sum));
    }
}

}  // namespace vireon::render
