#pragma once
// Mono float samples at a recording's rate in, at 8000 Hz out, through libsoxr at its high
// quality (20-bit, linear phase): flat to well past the picture's 2823 Hz and more than 100 dB
// down where anything would fold back onto it. The library works and answers in double
// precision: its builds differ in the last bits between processors (arm64's is compiled with
// fused multiply-adds), and in double those differences stay some 10^13 times below the 8-bit
// step the samples are quantised to, so every processor gives the same bytes.
#include <cstddef>
#include <string>
#include <vector>

struct soxr;

namespace vireon::render {

class Resampler {
public:
    // Throws RenderError naming path when the library refuses the rate.
    Resampler(double inputRate, const std::string& path);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Appends the output for the next frames of input; frames == 0 ends the input and appends
    // what the library still holds.
    void Convert(const float* mono, std::size_t frames, std::vector<double>& out);

private:
    std::string path_;
    double ratio_;
    soxr* soxr_;
};

// "libsoxr-0.1.3 (cr64s)": the library and the engine it picks on this processor (double
// precision, which the resampler asks for).
std::string DescribeResampler();

}  // namespace vireon::render
