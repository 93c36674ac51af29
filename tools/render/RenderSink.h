#pragma once
// Receives every spectrum frame of the chain and turns it into what was asked for: a column
// of the whole-recording picture, a step of the scrolling window, and/or raw magnitudes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "dsp/SignalChain.h"
#include "dsp/Waterfall.h"
#include "platform/AtomicFile.h"
#include "platform/QImageSurface.h"
#include "tools/render/ColumnStore.h"
#include "tools/render/FrameSpan.h"

namespace vireon::render {

// libpng refuses wider pictures.
constexpr int64_t MaxPngColumns = 1'000'000;
std::string TooWideMessage(const std::string& outputPath);

class RenderSink final : public FrameSink {
public:
    RenderSink();

    // One column per frame inside span; the picture is for outputPath (named in errors).
    void CollectColumns(ColumnStore& columns, FrameSpan span, std::string outputPath);
    // Scroll every frame through a window image as the live waterfall does.
    void DriveWindow(QImage& image);
    void WriteMagnitudes(AtomicFile& file) { magnitudes_ = &file; }

    void DrawSpectrum(const float* values, int32_t count) override;
    int64_t Frames() const { return frames_; }

private:
    std::unique_ptr<WaterfallRenderer> renderer_;
    int64_t frames_ = 0;

    ColumnStore* columns_ = nullptr;
    FrameSpan span_;
    std::string outputPath_;
    std::vector<uint8_t> rows_;  // the column bottom row first

    QImage* window_ = nullptr;
    std::optional<QImageSurface> surface_;

    AtomicFile* magnitudes_ = nullptr;
};

}  // namespace vireon::render
