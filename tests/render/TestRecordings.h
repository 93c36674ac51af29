#pragma once
// Recordings, coefficient files and reference results for the vireon-render tests and benchmark.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace vireon::testing {

// Unsigned 8-bit samples of a sine of the given frequency at 8000 Hz, amplitude in steps.
std::vector<uint8_t> ToneU8(double hz, std::size_t samples, double amplitude = 100.0);

// Writes bytes as they are, as an unsigned 8-bit mono WAV at the given rate.
void WriteU8Wav(const std::string& path, const std::vector<uint8_t>& samples, int rate = 8000);
// Writes interleaved frames (full scale -1 .. 1) as a WAV of the given libsndfile subtype.
void WriteWav(const std::string& path, const std::vector<float>& interleaved, int channels,
              int rate, int subtype);
// The same in any container and encoding libsndfile writes (format = SF_FORMAT_xxx | subtype).
void WriteSoundFile(const std::string& path, const std::vector<float>& interleaved, int channels,
                    int rate, int format);
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
