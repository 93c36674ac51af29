#include "tests/render/TestRecordings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "dsp/SignalChain.h"
#include "tests/support/FakeMessageBoxes.h"

namespace vireon::testing {

std::vector<uint8_t> ToneU8(double hz, std::size_t samples, double amplitude) {
    std::vector<uint8_t> out(samples);
    for (std::size_t n = 0; n < samples; ++n) {
        const double v =
            128.0 + amplitude * std::sin(2.0 * M_PI * hz * static_cast<double>(n) / 8000.0);
        out[n] = static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
    }
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathOf(path), std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error(path + ": cannot write");
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::symlink_status(PathOf(path), ignored).type() !=
           std::filesystem::file_type::not_found;
}

std::string LowPassFirText() {
    constexpr int taps = 63;
    constexpr double cutoff = 1000.0 / 8000.0;
    std::string text = "NTaps=" + std::to_string(taps) + "\r\n";
    for (int i = 0; i < taps; ++i) {
        const double m = i - (taps - 1) / 2.0;
        const double sinc = m == 0 ? 2 * cutoff : std::sin(2 * M_PI * cutoff * m) / (M_PI * m);
        const double hamming = 0.54 - 0.46 * std::cos(2 * M_PI * i / (taps - 1));
        char line[40];
        std::snprintf(line, sizeof line, "%.9g\r\n", sinc * hamming);
        text += line;
    }
    return text;
}

Reference RunReferenceChain(const std::vector<uint8_t>& samples, const std::string& firPath) {
    struct Collector final : FrameSink {
        Reference* out;
        void DrawSpectrum(const float* values, int32_t count) override {
            out->magnitudes.insert(out->magnitudes.end(), values, values + count);
            ++out->frames;
        }
    };
    auto chain = std::make_unique<SignalChain>();
    FakeMessageBoxes boxes;
    SetUpChain(*chain, firPath, boxes);
    if (!boxes.shown.empty()) throw std::runtime_error(firPath + ": missing");
    Reference reference;
    Collector collector;
    collector.out = &reference;
    ProcessSamples(*chain, samples.data(), static_cast<int32_t>(samples.size()), collector);
    return reference;
}

}  // namespace vireon::testing
