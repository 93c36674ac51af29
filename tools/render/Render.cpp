#include "tools/render/Render.h"

#include <memory>
#include <optional>
#include <vector>

#include "platform/AtomicFile.h"
#include "tools/render/ChainSetup.h"
#include "tools/render/ColumnStore.h"
#include "tools/render/PictureFile.h"
#include "tools/render/Progress.h"
#include "tools/render/RecordingReader.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderSink.h"

namespace vireon::render {

namespace {

constexpr std::size_t ChunkSamples = 1 << 16;
constexpr int64_t SamplesPerFrame = KeptSamplesPerFrame * DecimationFactor;

std::string InputName(const std::string& input) {
    return input == "-" ? "standard input" : input;
}

std::string Seconds(int64_t nanoseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(nanoseconds) / 1e9);
    return text;
}

RenderResult RenderFiles(const RenderOptions& options, const std::string& firPath,
                         FILE* progressOut, bool showProgress) {
    auto chain = std::make_unique<SignalChain>();
    LoadChain(*chain, firPath);
    auto reader = OpenRecording(options.input, options.raw);
    // Refuse a picture too wide for PNG before hours of work rather than after. A resampled
    // length is only estimated, so leave it some slack; the sink checks the exact count.
    if (options.windowWidth == 0 && reader->ExpectedSamples() > 0 &&
        options.span.CountIn(reader->ExpectedSamples() / SamplesPerFrame) > MaxPngColumns + 16)
        throw RenderError(TooWideMessage(options.output));

    AtomicFile picture(options.output);
    std::optional<AtomicFile> magnitudes;
    if (!options.magnitudesPath.empty()) magnitudes.emplace(options.magnitudesPath);

    RenderSink sink;
    ColumnStore columns(options.height);
    QImage window;
    if (options.windowWidth > 0) {
        window = QImage(options.windowWidth, options.height, QImage::Format_RGB32);
        if (window.isNull()) throw RenderError(options.output + ": out of memory for the picture");
        window.fill(Qt::white);
        sink.DriveWindow(window);
    } else {
        sink.CollectColumns(columns, options.span, options.output);
    }
    if (magnitudes) sink.WriteMagnitudes(*magnitudes);

    RenderResult result;
    {
        Progress progress(progressOut, showProgress, reader->ExpectedSamples());
        std::vector<uint8_t> chunk(ChunkSamples);
        while (const std::size_t n = reader->Read(chunk.data(), chunk.size())) {
            ProcessSamples(*chain, chunk.data(), static_cast<int32_t>(n), sink);
            result.samples += static_cast<int64_t>(n);
            progress.Update(result.samples);
        }
    }
    result.frames = sink.Frames();

    if (options.windowWidth > 0) {
        result.columns = options.windowWidth;
        WritePng(window, picture);
    } else {
        if (result.frames == 0)
            throw RenderError(
                InputName(options.input) + ": no complete frame: the recording gives " +
                std::to_string(result.samples) + " samples at 8000 Hz and a frame needs " +
                std::to_string(SamplesPerFrame));
        if (columns.Columns() == 0)
            throw RenderError(InputName(options.input) + ": no frame in the selected span; the " +
                              std::to_string(result.frames) + " frames run from " +
                              Seconds(FrameTimeNs(1)) + " s to " +
                              Seconds(FrameTimeNs(result.frames)) + " s");
        result.columns = columns.Columns();
        WritePng(columns.TakeImage(), picture);
    }
    if (magnitudes) magnitudes->Commit();
    picture.Commit();
    return result;
}

}  // namespace

RenderResult Render(const RenderOptions& options, const std::string& firPath, FILE* progressOut,
                    bool showProgress) {
    try {
        return RenderFiles(options, firPath, progressOut, showProgress);
    } catch (const AtomicFileError& e) {
        // Already "<file>: <what went wrong>: <why>", as every other failure reads.
        throw RenderError(e.what());
    }
}

}  // namespace vireon::render
