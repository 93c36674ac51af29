// Arbitrary bytes as a recording for vireon-render, read through libsndfile or as raw samples,
// then through the window's chain into a small picture. Any file may be refused with a
// RenderError; nothing may crash, read out of bounds or loop without end.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "dsp/SignalChain.h"
#include "dsp/Waterfall.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/render/chain/ChainSetup.h"
#include "tools/render/input/RecordingReader.h"
#include "tools/render/RenderError.h"

namespace {

using vireon::fuzz::Fail;

// Enough for the longest recording a few kilobytes can describe (a 31.25 Hz file resampled
// 256 times up); a reader that goes on past this is not coming to an end.
constexpr std::size_t SampleLimit = std::size_t{1} << 24;
// Only the start of the recording goes through the chain: the chain has its own target.
constexpr std::size_t ChainLimit = 1200;

class PictureSink final : public vireon::FrameSink {
public:
    PictureSink() : surface_(64, 48) {}
    void DrawSpectrum(const float* values, int32_t count) override {
        vireon::DrawSpectrum(renderer_, surface_, 64, 48, values, count);
    }

private:
    vireon::WaterfallRenderer renderer_;
    vireon::fuzz::StrictSurface surface_;
};

const char* FirPath() {
    const char* path = std::getenv("VIREON_FUZZ_FIR");
    return path ? path : VIREON_FIR_FILE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string path = vireon::fuzz::ScratchPath("recording");
    static auto chain = [] {
        auto c = std::make_unique<vireon::SignalChain>();
        vireon::render::LoadChain(*c, FirPath());
        return c;
    }();
    static const vireon::SignalChain fresh = *chain;
    if (size < 1) return 0;
    // First byte: raw or through libsndfile, and the chunk size the renderer asks for.
    const bool raw = (data[0] & 1) != 0;
    const std::size_t chunkSize = std::size_t{1} + (data[0] >> 1) * 97u;
    vireon::fuzz::WriteFileBytes(path, data + 1, size - 1);

    std::unique_ptr<vireon::render::RecordingReader> reader;
    try {
        reader = vireon::render::OpenRecording(path, raw);
    } catch (const vireon::render::RenderError&) {
        if (raw) Fail("a raw file that exists was refused");
        return 0;
    }
    if (raw && reader->ExpectedSamples() != static_cast<int64_t>(size - 1))
        Fail("a raw file's length is not its sample count");

    *chain = fresh;
    PictureSink sink;
    std::vector<uint8_t> chunk(chunkSize);
    std::size_t total = 0;
    try {
        while (const std::size_t n = reader->Read(chunk.data(), chunk.size())) {
            if (n > chunk.size()) Fail("a reader filled more than asked");
            if (total < ChainLimit) {
                const std::size_t used = std::min(n, ChainLimit - total);
                vireon::ProcessSamples(*chain, chunk.data(), static_cast<int32_t>(used), sink);
            }
            total += n;
            if (total > SampleLimit) Fail("a few kilobytes gave a recording without end");
        }
    } catch (const vireon::render::RenderError&) {
        if (raw) Fail("a raw file failed while reading");
        return 0;
    }
    if (raw && total != size - 1) Fail("a raw file did not give every byte");
    if (reader->Read(chunk.data(), chunk.size()) != 0) Fail("more samples after the end");
    return 0;
}
