#include "dsp/kernels/Kernels.h"

// The build lists the processor-specific sources only for x86-64 and then says so.
#if defined(VIREON_X86_KERNELS) && !defined(__x86_64__)
#error "the x86-64 kernels are built, but the compiler does not target x86-64"
#endif

namespace vireon {

namespace {

// Plain constants: the tables exist before any code runs and are never built at run time.
constexpr Kernel<FirKernel> FirTable[] = {
    {"portable", CpuFeature::None, FirDotPortable},
#if defined(VIREON_X86_KERNELS)
    {"sse2", CpuFeature::None, FirDotSse2},
    {"avx2", CpuFeature::Avx2, FirDotAvx2},
    {"avx512", CpuFeature::Avx512, FirDotAvx512},
#endif
};

constexpr Kernel<MixKernel> MixTable[] = {
    {"portable", CpuFeature::None, MixPortable},
#if defined(VIREON_X86_KERNELS)
    {"avx2", CpuFeature::Avx2, MixAvx2},
#endif
};

constexpr Kernel<FftStage> FftTable[] = {
    {"portable", CpuFeature::None, FftStagePortable},
#if defined(VIREON_X86_KERNELS)
    {"sse2", CpuFeature::None, FftStageSse2},
    {"avx2", CpuFeature::Avx2, FftStageAvx2},
#endif
};

constexpr Kernel<WindowKernel> WindowTable[] = {
    {"portable", CpuFeature::None, HannWindowPortable},
#if defined(VIREON_X86_KERNELS)
    {"sse2", CpuFeature::None, HannWindowSse2},
#endif
};

constexpr Kernel<MagnitudeKernel> MagnitudeTable[] = {
    {"portable", CpuFeature::None, MagnitudesPortable},
#if defined(VIREON_X86_KERNELS)
    {"sse2", CpuFeature::None, MagnitudesSse2},
#endif
};

struct Features {
    bool avx2 = false;
    bool avx512 = false;
};

Features Probe() {
    Features f;
#if defined(VIREON_X86_KERNELS)
    __builtin_cpu_init();
    f.avx2 = __builtin_cpu_supports("avx2");
    f.avx512 = __builtin_cpu_supports("avx512f");
#endif
    return f;
}

template <class Run>
Kernel<Run> LastRunnable(std::span<const Kernel<Run>> kernels) {
    Kernel<Run> chosen = kernels.front();  // the portable one runs everywhere
    for (const Kernel<Run>& k : kernels)
        if (CpuHas(k.needs)) chosen = k;
    return chosen;
}

}  // namespace

bool CpuHas(CpuFeature feature) {
    static const Features features = Probe();
    switch (feature) {
        case CpuFeature::None:
            return true;
        case CpuFeature::Avx2:
            return features.avx2;
        case CpuFeature::Avx512:
            return features.avx512;
    }
    return false;
}

std::span<const Kernel<FirKernel>> FirKernels() {
    return FirTable;
}

std::span<const Kernel<MixKernel>> MixKernels() {
    return MixTable;
}

std::span<const Kernel<FftStage>> FftStages() {
    return FftTable;
}

std::span<const Kernel<WindowKernel>> WindowKernels() {
    return WindowTable;
}

std::span<const Kernel<MagnitudeKernel>> MagnitudeKernels() {
    return MagnitudeTable;
}

const ChosenKernels& Chosen() {
    static const ChosenKernels chosen{LastRunnable(FirKernels()), LastRunnable(MixKernels()),
                                      LastRunnable(FftStages()), LastRunnable(WindowKernels()),
                                      LastRunnable(MagnitudeKernels())};
    return chosen;
}

std::string DescribeKernels() {
    const ChosenKernels& k = Chosen();
    return std::string("kernels: fir ") + k.fir.name + ", mixer " + k.mix.name + ", fft " +
           k.fft.name + ", window " + k.window.name + ", magnitudes " + k.magnitudes.name;
}

}  // namespace vireon
