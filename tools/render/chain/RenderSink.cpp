#include "tools/render/chain/RenderSink.h"

namespace vireon::render {

std::string TooWideMessage(const std::string& outputPath, bool split) {
    return outputPath + ": the picture would be more than " + std::to_string(MaxPngColumns) +
           " columns wide, more than a PNG can hold; " +
           (split ? "give --split at most 31875 seconds"
                  : "select at most 8.8 hours with --start and --duration, or use --split");
}

RenderSink::RenderSink(PieceFrames& out, int64_t framesBefore, FrameSpan span, int32_t height,
                       bool keepMagnitudes)
    : out_(out),
      framesBefore_(framesBefore),
      span_(span),
      height_(height),
      keepMagnitudes_(keepMagnitudes),
      renderer_(std::make_unique<WaterfallRenderer>()),
      rows_(static_cast<std::size_t>(height)) {}

void RenderSink::DrawSpectrum(const float* values, int32_t count) {
    const int64_t frame = framesBefore_ + ++out_.frames;
    if (keepMagnitudes_) out_.magnitudes.insert(out_.magnitudes.end(), values, values + count);
    if (height_ == 0 || !span_.Contains(frame)) return;
    if (out_.columns.empty()) out_.firstColumnFrame = frame;
    PrepareColumn(*renderer_, values, count);
    ColumnGreys(*renderer_, count, height_, rows_.data());
    // The picture holds the top pixel first; row 0 of the renderer is the bottom one.
    out_.columns.insert(out_.columns.end(), rows_.rbegin(), rows_.rend());
}

}  // namespace vireon::render
