#include "tools/render/PieceRunner.h"

namespace vireon::render {

PieceRunner::PieceRunner(const SignalChain& setUp, PieceOutputs outputs, int32_t threads)
    : setUp_(setUp), outputs_(outputs) {
    for (int32_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

PieceRunner::~PieceRunner() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (auto& w : workers_) w.join();
}

void PieceRunner::Submit(std::unique_ptr<Piece> piece) {
    {
        std::lock_guard lock(mutex_);
        pieces_.push_back(std::move(piece));
    }
    changed_.notify_all();
}

std::size_t PieceRunner::Pending() const {
    std::lock_guard lock(mutex_);
    return pieces_.size();
}

std::unique_ptr<Piece> PieceRunner::TakeNext() {
    std::unique_lock lock(mutex_);
    if (pieces_.empty()) return nullptr;
    changed_.wait(lock, [this] { return pieces_.front()->done; });
    std::unique_ptr<Piece> piece = std::move(pieces_.front());
    pieces_.pop_front();
    --started_;
    return piece;
}

void PieceRunner::Work() {
    auto chain = std::make_unique<SignalChain>();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || started_ < pieces_.size(); });
        if (stopping_) return;
        Piece& piece = *pieces_[started_++];
        lock.unlock();
        try {
            Run(piece, *chain);
        } catch (...) {
            piece.error = std::current_exception();
        }
        lock.lock();
        piece.done = true;
        changed_.notify_all();
    }
}

void PieceRunner::Run(Piece& piece, SignalChain& chain) const {
    chain = setUp_;
    ResumeChain(chain, piece.counters, piece.samples.data(), piece.lead);
    RenderSink sink(piece.frames, piece.framesBefore, outputs_.span, outputs_.height,
                    outputs_.magnitudes);
    ProcessSamples(chain, piece.samples.data() + piece.lead,
                   static_cast<int32_t>(piece.samples.size()) - piece.lead, sink);
}

}  // namespace vireon::render
