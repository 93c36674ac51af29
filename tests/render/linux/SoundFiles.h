#pragma once
// Sound files in the formats libsndfile writes, for the tests of the Linux readers.
#include <cstdint>
#include <string>
#include <vector>

namespace vireon::testing {

// Writes bytes as they are, as an unsigned 8-bit mono WAV at the given rate.
void WriteU8Wav(const std::string& path, const std::vector<uint8_t>& samples, int rate = 8000);
// Writes interleaved frames (full scale -1 .. 1) as a WAV of the given libsndfile subtype.
void WriteWav(const std::string& path, const std::vector<float>& interleaved, int channels,
              int rate, int subtype);
// The same in any container and encoding libsndfile writes (format = SF_FORMAT_xxx | subtype).
void WriteSoundFile(const std::string& path, const std::vector<float>& interleaved, int channels,
                    int rate, int format);

}  // namespace vireon::testing
