#include "tools/render/input/Resampler.h"

#include <soxr.h>
#include <cmath>

#include "tools/render/RenderError.h"

namespace vireon::render {

namespace {

constexpr double TargetRate = 8000;

soxr_t Create(double inputRate, soxr_error_t& error) {
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT64_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, SOXR_DOUBLE_PRECISION);
    return soxr_create(inputRate, TargetRate, 1, &error, &io, &quality, nullptr);
}

}  // namespace

Resampler::Resampler(double inputRate, const std::string& path)
    : path_(path), ratio_(TargetRate / inputRate) {
    soxr_error_t error = nullptr;
    soxr_ = Create(inputRate, error);
    if (error) {
        soxr_delete(soxr_);
        throw RenderError(path + ": a sample rate of " + std::to_string(std::lround(inputRate)) +
                          " Hz cannot be converted to 8000 Hz (" + error + ")");
    }
}

Resampler::~Resampler() {
    soxr_delete(soxr_);
}

void Resampler::Convert(const float* mono, std::size_t frames, std::vector<double>& out) {
    // Room for what this input gives, plus the library's own hold-back; the loop takes any rest.
    const std::size_t room = static_cast<std::size_t>(std::ceil(double(frames) * ratio_)) + 256;
    std::size_t used = 0;
    for (;;) {
        const std::size_t at = out.size();
        out.resize(at + room);
        std::size_t consumed = 0, made = 0;
        const soxr_error_t error =
            frames == 0 ? soxr_process(soxr_, nullptr, 0, nullptr, out.data() + at, room, &made)
                        : soxr_process(soxr_, mono + used, frames - used, &consumed,
                                       out.data() + at, room, &made);
        out.resize(at + made);
        if (error) throw RenderError(path_ + ": cannot resample: " + error);
        used += consumed;
        if (frames != 0 && consumed == 0 && made == 0)
            throw RenderError(path_ + ": cannot resample: the library takes no more input");
        // At the end the library gives its tail until it has nothing more.
        if (frames == 0 ? made == 0 : used == frames) return;
    }
}

std::string DescribeResampler() {
    soxr_error_t error = nullptr;
    const soxr_t probe = Create(44100, error);
    std::string text = soxr_version();
    if (!error) text += std::string(" (") + soxr_engine(probe) + ")";
    soxr_delete(probe);
    return text;
}

}  // namespace vireon::render
