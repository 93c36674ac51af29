#pragma once
// The one place that knows which kernels this build has and which of them this processor runs.
// Each family (the FIR's inner products, the mixer, the transform's stage, the window, the
// magnitudes) lists its kernels, the portable one first and the fastest last, each with what it
// needs of the processor; the chain runs the last one the processor has. Every kernel gives the
// portable one's bits. Files are named operation.isa.cpp; a kernel built for a wider
// instruction set than the rest of the program shares no code with it (tests/dsp checks the
// symbols of those objects).
#include <span>
#include <string>

#include "dsp/kernels/FftStage.h"
#include "dsp/kernels/FirDot.h"
#include "dsp/kernels/HannWindow.h"
#include "dsp/kernels/Magnitudes.h"
#include "dsp/kernels/Mix.h"

namespace vireon {

// What a kernel needs beyond the build's baseline instruction set.
enum class CpuFeature { None, Avx2, Avx512 };

// Whether this processor has it; the processor is asked once.
bool CpuHas(CpuFeature feature);

template <class Run>
struct Kernel {
    const char* name;
    CpuFeature needs;
    Run run;
};

// Every kernel of the family this build has, whether or not this processor runs it.
std::span<const Kernel<FirKernel>> FirKernels();
std::span<const Kernel<MixKernel>> MixKernels();
std::span<const Kernel<FftStage>> FftStages();
std::span<const Kernel<WindowKernel>> WindowKernels();
std::span<const Kernel<MagnitudeKernel>> MagnitudeKernels();

// The kernel of each family the chain runs: the last one this processor has. Chosen once;
// the signal chain asks and passes them down.
struct ChosenKernels {
    Kernel<FirKernel> fir;
    Kernel<MixKernel> mix;
    Kernel<FftStage> fft;
    Kernel<WindowKernel> window;
    Kernel<MagnitudeKernel> magnitudes;
};
const ChosenKernels& Chosen();

// One line naming the chosen kernels, e.g.
// "kernels: fir avx512, mixer avx2, fft avx2, window sse2, magnitudes sse2".
std::string DescribeKernels();

}  // namespace vireon
