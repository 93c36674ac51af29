#pragma once
// Runs the chain on pieces of a recording on every core, each piece on a chain of its own
// resumed exactly where the piece starts; the pieces come back in the order they were given.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "dsp/ChainResume.h"
#include "dsp/SignalChain.h"
#include "tools/render/FrameSpan.h"
#include "tools/render/RenderSink.h"

namespace vireon::render {

struct Piece {
    std::vector<uint8_t> samples;  // the lead, then the piece itself
    int32_t lead = 0;
    ChainCounters counters;    // of the recording at the lead's first sample
    int64_t framesBefore = 0;  // frames the recording completes before the piece
    PieceFrames frames;
    std::exception_ptr error;
    bool done = false;
};

// What every piece keeps of its frames.
struct PieceOutputs {
    FrameSpan span;
    int32_t height = 0;  // 0: no picture columns
    bool magnitudes = false;
};

class PieceRunner {
public:
    // setUp: the chain as at the recording's first sample, copied for every piece.
    PieceRunner(const SignalChain& setUp, PieceOutputs outputs, int32_t threads);
    ~PieceRunner();
    PieceRunner(const PieceRunner&) = delete;
    PieceRunner& operator=(const PieceRunner&) = delete;

    void Submit(std::unique_ptr<Piece> piece);
    std::size_t Pending() const;
    // The oldest piece, once it is done; nullptr when none is pending.
    std::unique_ptr<Piece> TakeNext();

private:
    void Work();
    void Run(Piece& piece, SignalChain& chain) const;

    const SignalChain& setUp_;
    PieceOutputs outputs_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Piece>> pieces_;  // submitted, in order, until taken
    std::size_t started_ = 0;                    // of pieces_, handed to a worker
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace vireon::render
