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

// The library's coefficient, c[i] + fraction * (c[i + 1] - c[i]).
inline double Coefficient(const SincTables& t, int32_t index) {
    const SincPair& p = t.pairs[static_cast<std::size_t>(index >> FractionBits)];
    return p.coefficient + t.fraction[static_cast<std::size_t>(index & FractionMask)] * p.slope;
}

inline void Tap(const SincTables& t, Chain& c, int32_t increment, std::ptrdiff_t direction) {
    c.sum += Coefficient(t, c.index) * *c.x;
    c.index -= increment;
    c.x += direction;
}

// Where each half starts for an output of this start, relative to its centre.
struct HalfStarts {
    int32_t leftIndex, leftTaps;
    std::ptrdiff_t leftOffset;
    int32_t rightIndex, rightTaps;
    std::ptrdiff_t rightOffset;
};

// The left half starts `taps` whole increments above start and runs while the index is not
// negative; the right half starts as far above increment - start and runs while it stays
// positive, taking at least one tap.
inline HalfStarts StartsOf(const SincGeometry& g, int32_t start) {
    HalfStarts h;
    int32_t taps = (g.maxIndex - start) / g.increment;
    h.leftIndex = start + taps * g.increment;
    h.leftOffset = -taps;
    h.leftTaps = h.leftIndex / g.increment + 1;
    const int32_t first = g.increment - start;
    taps = (g.maxIndex - first) / g.increment;
    h.rightIndex = first + taps * g.increment;
    h.rightOffset = 1 + taps;
    h.rightTaps = first > 0 || taps == 0 ? taps + 1 : taps;
    return h;
}

inline void Halves(const SincKernelArgs& a, const SincPoint& p, Chain& left, Chain& right) {
    const double* centre = a.input + (p.centre - a.inputFirst);
    const HalfStarts h = StartsOf(a.geometry, p.start);
    left.index = h.leftIndex;
    left.x = centre + h.leftOffset;
    left.taps = h.leftTaps;
    right.index = h.rightIndex;
    right.x = centre + h.rightOffset;
    right.taps = h.rightTaps;
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

namespace {

// Four outputs at a time: their eight half sums are independent, so each waits on its own
// additions only. place(n, left, right) sets output n's two chains up; tap(chain, direction)
// takes one tap of a chain.
template <class ChainT, class Place, class TapOne>
void FourAtATime(const SincKernelArgs& a, Place place, TapOne tap) {
    const auto finish = [&](ChainT& c, int32_t from, std::ptrdiff_t direction) {
        for (int32_t k = from; k < c.taps; ++k) tap(c, direction);
    };
    std::size_t n = 0;
    for (; n + 4 <= a.count; n += 4) {
        ChainT c[8];
        for (int k = 0; k < 4; ++k) place(n + k, c[2 * k], c[2 * k + 1]);
        int32_t common = c[0].taps;
        for (int k = 1; k < 8; ++k) common = std::min(common, c[k].taps);
        for (int32_t k = 0; k < common; ++k) {
            tap(c[0], 1);
            tap(c[1], -1);
            tap(c[2], 1);
            tap(c[3], -1);
            tap(c[4], 1);
            tap(c[5], -1);
            tap(c[6], 1);
            tap(c[7], -1);
        }
        for (int k = 0; k < 8; ++k) finish(c[k], common, k % 2 == 0 ? 1 : -1);
        for (int k = 0; k < 4; ++k)
            a.out[n + k] = static_cast<float>(a.geometry.scale * (c[2 * k].sum + c[2 * k + 1].sum));
    }
    for (; n < a.count; ++n) {
        ChainT l{}, r{};
        place(n, l, r);
        finish(l, 0, 1);
        finish(r, 0, -1);
        a.out[n] = static_cast<float>(a.geometry.scale * (l.sum + r.sum));
    }
}

void ComputeEach(const SincKernelArgs& a) {
    const SincTables& t = *a.tables;
    const int32_t increment = a.geometry.increment;
    FourAtATime<Chain>(
        a, [&](std::size_t n, Chain& l, Chain& r) { Halves(a, a.points[n], l, r); },
        [&](Chain& c, std::ptrdiff_t direction) { Tap(t, c, increment, direction); });
}

// Outputs that share a start share every coefficient. At a ratio of two small whole numbers
// (44100 to 8000 is 441 to 80) a block's outputs have a few dozen starts between them, so each
// start's coefficients are worked out once, by the same arithmetic, and its outputs only
// multiply and add. Other ratios are computed output by output.
constexpr std::size_t MaxStarts = 256;
constexpr std::size_t Slots = 1024;  // a power of two, well above MaxStarts
constexpr int32_t NoStart = -1;      // starts are never negative

struct StartCoefficients {
    int32_t start = NoStart;
    HalfStarts halves{};
    std::size_t offset = 0;  // the left half's in the store, the right half's after them
};

struct ScaledChain {
    const double* coefficient;
    const double* x;
    int32_t taps;
    double sum = 0.0;
};

inline void Tap(ScaledChain& c, std::ptrdiff_t direction) {
    c.sum += *c.coefficient++ * *c.x;
    c.x += direction;
}

struct StartTable {
    StartCoefficients slots[Slots];
    std::size_t used[MaxStarts];  // which slots hold a start
    std::size_t count = 0;
    std::vector<double> store;
    std::vector<const StartCoefficients*> ofPoint;
};

// The slot of each point's start, filling the table; false when the points have too many.
bool FindStarts(const SincKernelArgs& a, StartTable& table) {
    table.ofPoint.resize(a.count);
    for (std::size_t n = 0; n < a.count; ++n) {
        const int32_t start = a.points[n].start;
        std::size_t slot = (static_cast<uint32_t>(start) * 2654435761u) & (Slots - 1);
        while (table.slots[slot].start != start && table.slots[slot].start != NoStart)
            slot = (slot + 1) & (Slots - 1);
        StartCoefficients& s = table.slots[slot];
        if (s.start == NoStart) {
            if (table.count == MaxStarts || table.count * 4 >= a.count) return false;
            s.start = start;
            table.used[table.count++] = slot;
        }
        table.ofPoint[n] = &s;
    }
    return true;
}

void MakeCoefficients(const SincKernelArgs& a, StartTable& table) {
    const SincTables& t = *a.tables;
    const int32_t increment = a.geometry.increment;
    table.store.clear();
    for (std::size_t k = 0; k < table.count; ++k) {
        StartCoefficients& s = table.slots[table.used[k]];
        s.halves = StartsOf(a.geometry, s.start);
        s.offset = table.store.size();
        for (int32_t i = 0, index = s.halves.leftIndex; i < s.halves.leftTaps;
             ++i, index -= increment)
            table.store.push_back(Coefficient(t, index));
        for (int32_t i = 0, index = s.halves.rightIndex; i < s.halves.rightTaps;
             ++i, index -= increment)
            table.store.push_back(Coefficient(t, index));
    }
}

void Chains(const SincKernelArgs& a, const StartTable& table, std::size_t n, ScaledChain& left,
            ScaledChain& right) {
    const StartCoefficients& s = *table.ofPoint[n];
    const double* centre = a.input + (a.points[n].centre - a.inputFirst);
    left.coefficient = table.store.data() + s.offset;
    left.x = centre + s.halves.leftOffset;
    left.taps = s.halves.leftTaps;
    right.coefficient = left.coefficient + s.halves.leftTaps;
    right.x = centre + s.halves.rightOffset;
    right.taps = s.halves.rightTaps;
}

void ComputeByStart(const SincKernelArgs& a, const StartTable& table) {
    FourAtATime<ScaledChain>(
        a, [&](std::size_t n, ScaledChain& l, ScaledChain& r) { Chains(a, table, n, l, r); },
        [](ScaledChain& c, std::ptrdiff_t direction) { Tap(c, direction); });
}

}  // namespace

void ComputeSincOutputs(const SincKernelArgs& a) {
    // Each thread keeps its table: blocks are computed on several at once.
    thread_local StartTable table;
    const bool shared = FindStarts(a, table);
    if (shared) {
        MakeCoefficients(a, table);
        ComputeByStart(a, table);
    } else {
        ComputeEach(a);
    }
    for (std::size_t k = 0; k < table.count; ++k) table.slots[table.used[k]].start = NoStart;
    table.count = 0;
}

}  // namespace vireon::render
