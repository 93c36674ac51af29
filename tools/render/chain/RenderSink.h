#pragma once
// Receives the spectrum frames of one piece of the recording and keeps what was asked for:
// every frame's magnitudes, and the picture columns of the frames inside the span.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dsp/SignalChain.h"
#include "dsp/Waterfall.h"
#include "tools/render/chain/FrameSpan.h"

namespace vireon::render {

// libpng refuses wider pictures.
constexpr int64_t MaxPngColumns = 1'000'000;
std::string TooWideMessage(const std::string& outputPath, bool split);

struct PieceFrames {
    int64_t frames = 0;
    std::vector<float> magnitudes;  // SpectrumSize per frame, when kept
    std::vector<uint8_t> columns;   // height bytes per column, top pixel first
    int64_t firstColumnFrame = 0;   // the frame (counted from 1) of the first column
};

class RenderSink final : public FrameSink {
public:
    // framesBefore: frames of the recording before the piece. height 0: no columns.
    RenderSink(PieceFrames& out, int64_t framesBefore, FrameSpan span, int32_t height,
               bool keepMagnitudes);

    void DrawSpectrum(const float* values, int32_t count) override;

private:
    PieceFrames& out_;
    int64_t framesBefore_;
    FrameSpan span_;
    int32_t height_;
    bool keepMagnitudes_;
    std::unique_ptr<WaterfallRenderer> renderer_;
    std::vector<uint8_t> rows_;  // the column, bottom row first
};

}  // namespace vireon::render
