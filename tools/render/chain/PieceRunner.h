#pragma once
// Runs the chain on pieces of a recording on every core, each piece on a chain of its own
// resumed exactly where the piece starts; the pieces come back in the order they were given.
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <vector>

#include "dsp/ChainResume.h"
#include "dsp/SignalChain.h"
#include "tools/render/Workers.h"
#include "tools/render/chain/FrameSpan.h"
#include "tools/render/chain/RenderSink.h"

namespace vireon::render {

struct Piece {
    std::vector<uint8_t> samples;  // the lead, then the piece itself
    int32_t lead = 0;
    ChainCounters counters;    // of the recording at the lead's first sample
    int64_t framesBefore = 0;  // frames the recording completes before the piece
    PieceFrames frames;
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
    PieceRunner(const SignalChain& setUp, PieceOutputs outputs, Workers& workers);
    // Waits for the pieces still running: they use this runner and their own storage.
    ~PieceRunner();
    PieceRunner(const PieceRunner&) = delete;
    PieceRunner& operator=(const PieceRunner&) = delete;

    void Submit(std::unique_ptr<Piece> piece);
    std::size_t Pending() const { return pieces_.size(); }
    // The oldest piece, once it is done; nullptr when none is pending. Rethrows its error.
    std::unique_ptr<Piece> TakeNext();

private:
    void Run(Piece& piece) const;

    const SignalChain& setUp_;
    PieceOutputs outputs_;
    Workers& workers_;
    struct Running {
        std::unique_ptr<Piece> piece;
        std::future<void> done;
    };
    std::deque<Running> pieces_;  // submitted, in order, until taken
};

}  // namespace vireon::render
