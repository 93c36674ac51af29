#include "tools/render/input/SndFileRecordingReader.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "tools/render/RenderError.h"
#include "tools/render/input/Resampler.h"
#include "tools/render/input/SampleConversion.h"

namespace vireon::render {

namespace {

constexpr int TargetRate = 8000;
constexpr sf_count_t ChunkFrames = 4096;
// Interleaved samples read at a time: a file of many channels reads fewer frames per chunk
// rather than making the buffer grow with its channel count.
constexpr sf_count_t ChunkSamples = 16384;

class SndFile {
public:
    explicit SndFile(SNDFILE* file) : file_(file) {}
    ~SndFile() { sf_close(file_); }
    SndFile(const SndFile&) = delete;
    SndFile& operator=(const SndFile&) = delete;
    SNDFILE* get() const { return file_; }

private:
    SNDFILE* file_;
};

int64_t ExpectedAt8000(const SF_INFO& info) {
    if (info.frames <= 0 || info.frames == SF_COUNT_MAX || info.samplerate <= 0) return -1;
    return static_cast<int64_t>(static_cast<double>(info.frames) * TargetRate / info.samplerate);
}

// The stored bytes are already what the chain eats.
class PassThroughReader final : public RecordingReader {
public:
    PassThroughReader(std::string path, SNDFILE* file, const SF_INFO& info)
        : path_(std::move(path)), file_(file), expected_(ExpectedAt8000(info)) {}

    std::size_t Read(uint8_t* samples, std::size_t capacity) override {
        const sf_count_t n = sf_read_raw(file_.get(), samples, static_cast<sf_count_t>(capacity));
        if (n <= 0 && sf_error(file_.get()) != SF_ERR_NO_ERROR)
            throw RenderError(path_ + ": read error: " + sf_strerror(file_.get()));
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    int64_t ExpectedSamples() const override { return expected_; }

private:
    std::string path_;
    SndFile file_;
    int64_t expected_;
};

class ConvertingReader final : public RecordingReader {
public:
    ConvertingReader(std::string path, SNDFILE* file, const SF_INFO& info)
        : path_(std::move(path)),
          file_(file),
          channels_(info.channels),
          expected_(ExpectedAt8000(info)),
          chunkFrames_(std::clamp<sf_count_t>(ChunkSamples / info.channels, 1, ChunkFrames)),
          interleaved_(static_cast<std::size_t>(chunkFrames_) *
                       static_cast<std::size_t>(info.channels)),
          mono_(static_cast<std::size_t>(chunkFrames_)) {
        if (info.samplerate != TargetRate)
            resampler_.emplace(static_cast<double>(info.samplerate), path_);
    }

    std::size_t Read(uint8_t* samples, std::size_t capacity) override {
        while (next_ == pending_.size() && !finished_) Refill();
        const std::size_t n = std::min(capacity, pending_.size() - next_);
        std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(next_), n, samples);
        next_ += n;
        return n;
    }
    int64_t ExpectedSamples() const override { return expected_; }

private:
    void Refill() {
        pending_.clear();
        next_ = 0;
        const sf_count_t frames = sf_readf_float(file_.get(), interleaved_.data(), chunkFrames_);
        if (frames <= 0 && sf_error(file_.get()) != SF_ERR_NO_ERROR)
            throw RenderError(path_ + ": read error: " + sf_strerror(file_.get()));
        const std::size_t count = frames > 0 ? static_cast<std::size_t>(frames) : 0;
        finished_ = count == 0;
        MixToMono(interleaved_.data(), count, channels_, mono_.data());
        if (!resampler_) {
            for (std::size_t i = 0; i < count; ++i) pending_.push_back(QuantizeSample(mono_[i]));
            return;
        }
        resampled_.clear();
        resampler_->Convert(mono_.data(), count, resampled_);
        for (const double x : resampled_) pending_.push_back(QuantizeSample(x));
    }

    std::string path_;
    SndFile file_;
    int channels_;
    int64_t expected_;
    sf_count_t chunkFrames_;
    std::optional<Resampler> resampler_;
    std::vector<float> interleaved_;
    std::vector<float> mono_;
    std::vector<double> resampled_;
    std::vector<uint8_t> pending_;
    std::size_t next_ = 0;
    bool finished_ = false;
};

}  // namespace

std::unique_ptr<RecordingReader> OpenSndFileRecording(const std::string& path) {
    // Look at the path first: libsndfile's own wording for a missing file is less clear.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        throw RenderError(path + ": cannot open: " + std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw RenderError(path + ": is a directory, not a recording");
    if (::access(path.c_str(), R_OK) != 0)
        throw RenderError(path + ": cannot open: " + std::strerror(errno));

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        throw RenderError(path + ": unsupported or damaged recording (" + sf_strerror(nullptr) +
                          ")");
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        throw RenderError(path + ": unsupported recording (no channels or no sample rate)");
    }
    const bool passThrough = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8 &&
                             info.channels == 1 && info.samplerate == TargetRate;
    if (passThrough) return std::make_unique<PassThroughReader>(path, file, info);
    return std::make_unique<ConvertingReader>(path, file, info);
}

}  // namespace vireon::render
