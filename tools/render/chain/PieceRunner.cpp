#include "tools/render/chain/PieceRunner.h"

namespace vireon::render {

PieceRunner::PieceRunner(const SignalChain& setUp, PieceOutputs outputs, Workers& workers)
    : setUp_(setUp), outputs_(outputs), workers_(workers) {}

PieceRunner::~PieceRunner() {
    for (Running& p : pieces_) p.done.wait();
}

void PieceRunner::Submit(std::unique_ptr<Piece> piece) {
    Piece& p = *piece;
    pieces_.push_back({std::move(piece), workers_.Run([this, &p] { Run(p); })});
}

std::unique_ptr<Piece> PieceRunner::TakeNext() {
    if (pieces_.empty()) return nullptr;
    Running next = std::move(pieces_.front());
    pieces_.pop_front();
    next.done.get();
    return std::move(next.piece);
}

void PieceRunner::Run(Piece& piece) const {
    auto chain = std::make_unique<SignalChain>(setUp_);
    ResumeChain(*chain, piece.counters, piece.samples.data(), piece.lead);
    RenderSink sink(piece.frames, piece.framesBefore, outputs_.span, outputs_.height,
                    outputs_.magnitudes);
    ProcessSamples(*chain, piece.samples.data() + piece.lead,
                   static_cast<int32_t>(piece.samples.size()) - piece.lead, sink);
}

}  // namespace vireon::render
