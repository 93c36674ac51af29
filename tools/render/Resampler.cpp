#include "tools/render/Resampler.h"

#include <samplerate.h>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <thread>

#include "tools/render/Cores.h"
#include "tools/render/RenderError.h"
#include "tools/render/SincKernel.h"

namespace vireon::render {

namespace {

class LibraryResampler final : public Resampler {
public:
    LibraryResampler(double ratio, const std::string& path) : ratio_(ratio), path_(path) {
        int error = 0;
        state_ = src_new(SRC_SINC_FASTEST, 1, &error);
        if (!state_)
            throw RenderError(path + ": cannot start the resampler: " + src_strerror(error));
    }
    ~LibraryResampler() override { src_delete(state_); }
    LibraryResampler(const LibraryResampler&) = delete;
    LibraryResampler& operator=(const LibraryResampler&) = delete;

    void Push(const float* mono, std::size_t frames) override {
        ConvertChunk(static_cast<long>(frames), frames == 0, [&](long from, long count, bool end) {
            return Call(mono + from, count, end);
        });
    }
    void Take(std::vector<float>& out) override {
        out.insert(out.end(), converted_.begin(), converted_.end());
        converted_.clear();
    }

    // in: never null, not even for an empty chunk (the library would refuse it).
    ConverterCall Call(const float* in, long count, bool end) {
        const std::size_t had = converted_.size();
        converted_.resize(had + ConverterOutputFrames);
        SRC_DATA data{};
        data.data_in = in;
        data.input_frames = count;
        data.data_out = converted_.data() + had;
        data.output_frames = ConverterOutputFrames;
        data.end_of_input = end ? 1 : 0;
        data.src_ratio = ratio_;
        if (int error = src_process(state_, &data))
            throw RenderError(path_ + ": resampling failed: " + src_strerror(error));
        converted_.resize(had + static_cast<std::size_t>(data.output_frames_gen));
        return {data.input_frames_used, data.output_frames_gen};
    }

private:
    double ratio_;
    std::string path_;
    SRC_STATE* state_ = nullptr;
    std::vector<float> converted_;
};

// Outputs handed to the threads at a time.
constexpr std::size_t Block = 1024;

// Outputs being computed in the background, with the input they read.
struct SincBatch {
    std::vector<SincPoint> points;
    std::vector<double> input;
    int64_t inputFirst = 0;
    std::vector<float> out;
    std::atomic<std::size_t> next{0};  // block
    std::vector<std::thread> threads;
};

class ParallelResampler final : public Resampler {
public:
    ParallelResampler(const SincFilter& filter, double ratio, int threads)
        : tables_(filter), schedule_(filter, ratio), threads_(threads) {
        // Zeros before the recording, for the first outputs' left halves.
        const int32_t margin = schedule_.Geometry().halfSpan;
        history_.assign(static_cast<std::size_t>(margin), 0.0);
        historyFirst_ = -margin;
    }
    ~ParallelResampler() override {
        if (running_) Finish(*running_);
    }
    ParallelResampler(const ParallelResampler&) = delete;
    ParallelResampler& operator=(const ParallelResampler&) = delete;

    void Push(const float* mono, std::size_t frames) override {
        history_.insert(history_.end(), mono, mono + frames);
        ConvertChunk(static_cast<long>(frames), frames == 0, [&](long, long count, bool end) {
            return schedule_.Process(count, ConverterOutputFrames, end, points_);
        });
        ended_ = ended_ || frames == 0;
    }

    // Hands over the outputs of the previous call's batch and starts this one's in the
    // background, so that the reader goes on reading while the cores compute; at the end,
    // everything.
    void Take(std::vector<float>& out) override {
        std::unique_ptr<SincBatch> started = points_.empty() ? nullptr : Start();
        if (running_) HandOver(out);
        running_ = std::move(started);
        if (ended_ && running_) HandOver(out);
    }

private:
    std::unique_ptr<SincBatch> Start() {
        auto batch = std::make_unique<SincBatch>();
        // The batch takes the input read so far, with zeros after it (the converter pads the
        // recording's end with them); later outputs lie at or after its last one, so only the
        // input from there on is kept.
        const int32_t margin = schedule_.Geometry().halfSpan;
        const int64_t keepFrom =
            std::clamp<int64_t>(points_.back().centre - margin, historyFirst_,
                                historyFirst_ + static_cast<int64_t>(history_.size()));
        std::vector<double> rest(history_.begin() + (keepFrom - historyFirst_), history_.end());
        batch->inputFirst = historyFirst_;
        batch->input = std::move(history_);
        batch->input.resize(batch->input.size() + static_cast<std::size_t>(margin), 0.0);
        history_ = std::move(rest);
        historyFirst_ = keepFrom;
        batch->points.swap(points_);
        batch->out.resize(batch->points.size());
        // The outputs go in blocks to whichever thread is free.
        const std::size_t count = batch->points.size();
        const std::size_t blocks = (count + Block - 1) / Block;
        SincBatch* b = batch.get();
        const SincTables* tables = &tables_;
        auto work = [tables, geometry = schedule_.Geometry(), b, blocks, count] {
            for (std::size_t k; (k = b->next.fetch_add(1)) < blocks;) {
                const std::size_t first = k * Block;
                ComputeSincOutputs({tables, geometry, b->points.data() + first,
                                    std::min(Block, count - first), b->input.data(), b->inputFirst,
                                    b->out.data() + first});
            }
        };
        const std::size_t threads = std::min(blocks, static_cast<std::size_t>(threads_));
        for (std::size_t i = 0; i < threads; ++i) batch->threads.emplace_back(work);
        return batch;
    }

    static void Finish(SincBatch& batch) {
        for (std::thread& t : batch.threads) t.join();
        batch.threads.clear();
    }

    void HandOver(std::vector<float>& out) {
        Finish(*running_);
        out.insert(out.end(), running_->out.begin(), running_->out.end());
        running_.reset();
    }

    SincTables tables_;
    SincSchedule schedule_;
    int threads_;
    std::vector<double> history_;  // input from sample historyFirst_ on
    int64_t historyFirst_ = 0;
    std::vector<SincPoint> points_;  // outputs scheduled but not yet started
    std::unique_ptr<SincBatch> running_;
    bool ended_ = false;
};

// Noise, and chunks like the reader's, long enough that the converter's buffer is moved
// several times and its end is reached.
bool MatchesLibrary(const SincFilter& filter, double ratio) {
    const long inputs = std::clamp(static_cast<long>(100000 / ratio), 64L, 40000L);
    std::vector<float> signal(static_cast<std::size_t>(inputs));
    uint32_t noise = 2463;
    for (float& x : signal) {
        noise = noise * 1664525u + 1013904223u;
        x = static_cast<float>(static_cast<int32_t>(noise)) / 2147483648.0f;
    }
    LibraryResampler library(ratio, "the self-check");
    SincSchedule schedule(filter, ratio);
    std::vector<SincPoint> points;
    bool sameCalls = true;
    constexpr long Chunk = 4096;
    for (long from = 0;; from += Chunk) {
        const long count = std::clamp(inputs - from, 0L, Chunk);
        ConvertChunk(count, count == 0, [&](long at, long n, bool end) {
            const ConverterCall a = library.Call(signal.data() + from + at, n, end);
            const ConverterCall b = schedule.Process(n, ConverterOutputFrames, end, points);
            sameCalls = sameCalls && a.used == b.used && a.generated == b.generated;
            // Whatever the library did next would be on another footing.
            return sameCalls ? a : ConverterCall{n, 0};
        });
        if (count == 0 || !sameCalls) break;
    }
    if (!sameCalls) return false;
    std::vector<float> expected;
    library.Take(expected);
    if (expected.size() != points.size()) return false;
    const int32_t margin = schedule.Geometry().halfSpan;
    std::vector<double> padded(static_cast<std::size_t>(margin), 0.0);
    padded.insert(padded.end(), signal.begin(), signal.end());
    padded.resize(padded.size() + static_cast<std::size_t>(2 * margin), 0.0);
    const SincTables tables(filter);
    std::vector<float> ours(points.size());
    ComputeSincOutputs({&tables, schedule.Geometry(), points.data(), points.size(), padded.data(),
                        -margin, ours.data()});
    for (std::size_t i = 0; i < ours.size(); ++i)
        if (std::bit_cast<uint32_t>(ours[i]) != std::bit_cast<uint32_t>(expected[i])) return false;
    return true;
}

}  // namespace

std::unique_ptr<Resampler> MakeLibraryResampler(double ratio, const std::string& path) {
    return std::make_unique<LibraryResampler>(ratio, path);
}

std::unique_ptr<Resampler> MakeParallelResampler(const SincFilter& filter, double ratio,
                                                 int threads) {
    return std::make_unique<ParallelResampler>(filter, ratio, threads);
}

std::unique_ptr<Resampler> MakeResampler(double ratio, const std::string& path) {
    const std::optional<SincFilter>& filter = FastestSincFilter();
    if (filter && MatchesLibrary(*filter, ratio))
        return MakeParallelResampler(*filter, ratio, Cores());
    return MakeLibraryResampler(ratio, path);
}

}  // namespace vireon::render
