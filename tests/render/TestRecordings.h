#pragma once
// Recordings, coefficient files and reference results for the vireon-render tests and benchmark;
// sound files of other formats (libsndfile, Linux only) are in linux/SoundFiles.h.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace vireon::testing {

// Unsigned 8-bit samples of a sine of the given frequency at 8000 Hz, amplitude in steps.
std::vector<uint8_t> ToneU8(double hz, std::size_t samples, double amplitude = 100.0);

void WriteBytes(const std::string& path, const std::string& bytes);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// A 63-tap windowed-sinc low-pass for 8000 Hz with its edge at 1000 Hz, in the coefficient
// file's text form. It passes the 500 Hz baseband of a 1000 Hz tone and stops above 4000/3 Hz.
std::string LowPassFirText();

// What the live window's chain makes of the bytes: every frame's 256 magnitudes.
struct Reference {
    std::vector<float> magnitudes;  // frames x 256
    int64_t frames = 0;
};
Reference RunReferenceChain(const std::vector<uint8_t>& samples, const std::string& firPath);

}  // namespace vireon::testing
