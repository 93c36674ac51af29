#include "tools/render/RenderSink.h"

#include "tools/render/MagnitudeFile.h"
#include "tools/render/RenderError.h"

namespace vireon::render {

std::string TooWideMessage(const std::string& outputPath) {
    return outputPath + ": the picture would be more than " + std::to_string(MaxPngColumns) +
           " columns wide, more than a PNG can hold; select at most 8.8 hours with --start and "
           "--duration";
}

RenderSink::RenderSink() : renderer_(std::make_unique<WaterfallRenderer>()) {}

void RenderSink::CollectColumns(ColumnStore& columns, FrameSpan span, std::string outputPath) {
    columns_ = &columns;
    span_ = span;
    outputPath_ = std::move(outputPath);
}

void RenderSink::DriveWindow(QImage& image) {
    window_ = &image;
    surface_.emplace(image);
}

void RenderSink::DrawSpectrum(const float* values, int32_t count) {
    ++frames_;
    if (magnitudes_) AppendMagnitudes(*magnitudes_, values, count);
    if (window_)
        vireon::DrawSpectrum(*renderer_, *surface_, window_->width(), window_->height(), values,
                             count);
    if (columns_ && span_.Contains(frames_)) {
        if (columns_->Columns() >= MaxPngColumns) throw RenderError(TooWideMessage(outputPath_));
        PrepareColumn(*renderer_, values, count);
        const int32_t height = columns_->Height();
        rows_.resize(static_cast<std::size_t>(height));
        ColumnGreys(*renderer_, count, height, rows_.data());
        // The store holds the top pixel first; row 0 of the renderer is the bottom one.
        uint8_t* column = columns_->AppendColumn();
        for (int32_t y = 0; y < height; ++y)
            column[y] = rows_[static_cast<std::size_t>(height - 1 - y)];
    }
}

}  // namespace vireon::render
