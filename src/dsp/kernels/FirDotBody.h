#pragma once
// The loop every FIR kernel shares, over a vector type V of V::Width doubles: outputs side by
// side in the lanes, taps one after the other, so each lane forms its sum in Step's order.
// Unnamed namespace: each kernel's source file, built for its own instruction set, gets a copy
// of its own instead of sharing one instantiation with the others. For the same reason nothing
// here calls a library template.
#include <cstdint>

#include "dsp/kernels/FirDot.h"

namespace vireon {
namespace {

template <class V, int32_t Vectors, int32_t Filters>
void KernelBlock(const FirKernelArgs* const* f, int32_t first, int32_t lanes) {
    typename V::Sum sum[Filters][Vectors];
    for (auto& row : sum)
        for (auto& s : row) s = V::Zero();
    const int32_t stride = f[0]->stride;
    const int32_t length = f[0]->phaseLength;
    const int32_t start = f[0]->first + stride * first;
    int32_t phase = start % stride;
    int32_t at = start / stride;
    for (int32_t i = 0; i < f[0]->taps; ++i) {
        for (int32_t k = 0; k < Filters; ++k) {
            const typename V::Type c = V::Broadcast(f[k]->coefficients[i]);
            const double* w = f[k]->phases + phase * length + at;
            for (int32_t v = 0; v < Vectors; ++v)
                sum[k][v] = V::Accumulate(sum[k][v], c, V::Load(w + v * V::Width));
        }
        if (++phase == stride) {
            phase = 0;
            ++at;
        }
    }
    for (int32_t k = 0; k < Filters; ++k)
        for (int32_t v = 0; v < Vectors; ++v) {
            const int32_t left = lanes - v * V::Width;
            const int32_t n = left < V::Width ? left : V::Width;
            if (n > 0) V::Store(f[k]->out + first + v * V::Width, sum[k][v], n);
        }
}

// The last, narrower group: just as many vectors as the outputs left need.
template <class V, int32_t Vectors, int32_t Filters>
void KernelTail(const FirKernelArgs* const* f, int32_t first, int32_t lanes) {
    if constexpr (Vectors > 1) {
        if (lanes <= (Vectors - 1) * V::Width) {
            KernelTail<V, Vectors - 1, Filters>(f, first, lanes);
            return;
        }
    }
    KernelBlock<V, Vectors, Filters>(f, first, lanes);
}

// Groups of Vectors vectors, then one narrower group for what is left; its unused lanes read
// the phases' padding and are dropped.
template <class V, int32_t Vectors, int32_t Filters>
void KernelAll(const FirKernelArgs* const* f) {
    constexpr int32_t group = V::Width * Vectors;
    const int32_t outputs = f[0]->outputs;
    int32_t l = 0;
    for (; l + group <= outputs; l += group) KernelBlock<V, Vectors, Filters>(f, l, group);
    if (l < outputs) KernelTail<V, Vectors, Filters>(f, l, outputs - l);
}

// Both filters in one loop when their shares line up, which is the case in the chain.
template <class V, int32_t Vectors>
void KernelPair(const FirKernelArgs& a, const FirKernelArgs& b) {
    const bool together = a.taps == b.taps && a.outputs == b.outputs && a.stride == b.stride &&
                          a.first == b.first && a.phaseLength == b.phaseLength;
    if (together) {
        const FirKernelArgs* both[2] = {&a, &b};
        KernelAll<V, Vectors, 2>(both);
        return;
    }
    const FirKernelArgs* one[1] = {&a};
    if (a.outputs > 0) KernelAll<V, Vectors, 1>(one);
    one[0] = &b;
    if (b.outputs > 0) KernelAll<V, Vectors, 1>(one);
}

}  // namespace
}  // namespace vireon
