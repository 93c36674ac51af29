#include "tests/render/linux/SoundFiles.h"

#include <sndfile.h>

#include <stdexcept>

namespace vireon::testing {

namespace {

SNDFILE* OpenForWriting(const std::string& path, int format, int channels, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error(path + ": " + sf_strerror(nullptr));
    return file;
}

}  // namespace

void WriteU8Wav(const std::string& path, const std::vector<uint8_t>& samples, int rate) {
    SNDFILE* file = OpenForWriting(path, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, rate);
    const auto size = static_cast<sf_count_t>(samples.size());
    const bool ok = sf_write_raw(file, samples.data(), size) == size;
    sf_close(file);
    if (!ok) throw std::runtime_error(path + ": short write");
}

void WriteWav(const std::string& path, const std::vector<float>& interleaved, int channels,
              int rate, int subtype) {
    WriteSoundFile(path, interleaved, channels, rate, SF_FORMAT_WAV | subtype);
}

void WriteSoundFile(const std::string& path, const std::vector<float>& interleaved, int channels,
                    int rate, int format) {
    SNDFILE* file = OpenForWriting(path, format, channels, rate);
    const auto size = static_cast<sf_count_t>(interleaved.size());
    const bool ok = sf_write_float(file, interleaved.data(), size) == size;
    sf_close(file);
    if (!ok) throw std::runtime_error(path + ": short write");
}

}  // namespace vireon::testing
