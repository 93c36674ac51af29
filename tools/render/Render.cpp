#include "tools/render/Render.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "dsp/ChainResume.h"
#include "platform/AtomicFile.h"
#include "tools/render/Progress.h"
#include "tools/render/RenderError.h"
#include "tools/render/Workers.h"
#include "tools/render/chain/ChainSetup.h"
#include "tools/render/chain/PieceRunner.h"
#include "tools/render/input/RecordingReader.h"
#include "tools/render/output/ColumnStore.h"
#include "tools/render/output/MagnitudeFile.h"
#include "tools/render/output/PictureSurface.h"
#include "tools/render/output/PngFile.h"
#include "tools/render/output/SplitPictures.h"

namespace vireon::render {

namespace {

// Samples per piece: long enough that the lead before each is a small share, short enough that
// the pieces in flight stay small and the cores share the work evenly.
constexpr std::size_t PieceSamples = 1 << 19;
constexpr int64_t SamplesPerFrame = KeptSamplesPerFrame * DecimationFactor;

std::string InputName(const std::string& input) {
    return input == "-" ? "standard input" : input;
}

std::string Seconds(int64_t nanoseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(nanoseconds) / 1e9);
    return text;
}

std::size_t ReadFull(RecordingReader& reader, uint8_t* samples, std::size_t capacity) {
    std::size_t filled = 0;
    while (filled < capacity) {
        const std::size_t n = reader.Read(samples + filled, capacity - filled);
        if (n == 0) break;
        filled += n;
    }
    return filled;
}

// Where the frames of the pieces go, in the recording's order.
class Outputs {
public:
    Outputs(const RenderOptions& options, std::optional<AtomicFile>& magnitudes, Workers& workers)
        : options_(options), magnitudes_(magnitudes), columns_(options.height) {
        if (options.windowWidth > 0) {
            window_ = Picture::Filled(options.windowWidth, options.height, 3, 255);  // white
            if (window_.IsNull())
                throw RenderError(options.output + ": out of memory for the picture");
            surface_.emplace(window_);
            renderer_ = std::make_unique<WaterfallRenderer>();
        } else if (options.splitNs > 0) {
            split_.emplace(options.output, options.height, options.span.startNs, options.splitNs,
                           workers);
        }
    }

    PieceOutputs Wanted() const {
        PieceOutputs wanted;
        wanted.span = options_.span;
        wanted.height = options_.windowWidth > 0 ? 0 : options_.height;
        wanted.magnitudes = magnitudes_.has_value() || options_.windowWidth > 0;
        return wanted;
    }

    void Take(const Piece& piece) {
        const PieceFrames& f = piece.frames;
        frames_ += f.frames;
        if (magnitudes_)
            AppendMagnitudes(*magnitudes_, f.magnitudes.data(),
                             static_cast<int32_t>(f.magnitudes.size()));
        if (surface_)
            for (int64_t k = 0; k < f.frames; ++k)
                vireon::DrawSpectrum(*renderer_, *surface_, window_.width, window_.height,
                                     f.magnitudes.data() + k * SpectrumSize, SpectrumSize);
        const std::size_t height = static_cast<std::size_t>(options_.height);
        const std::size_t count = height > 0 ? f.columns.size() / height : 0;
        for (std::size_t c = 0; c < count; ++c) {
            const uint8_t* column = f.columns.data() + c * height;
            if (split_) {
                split_->Add(f.firstColumnFrame + static_cast<int64_t>(c), column);
                continue;
            }
            if (columns_.Columns() >= MaxPngColumns)
                throw RenderError(TooWideMessage(options_.output, false));
            std::memcpy(columns_.AppendColumn(), column, height);
        }
    }

    int64_t Frames() const { return frames_; }
    int64_t Columns() const { return split_ ? split_->Columns() : columns_.Columns(); }
    ColumnStore& Store() { return columns_; }
    const Picture& Window() const { return window_; }
    SplitPictures* Split() { return split_ ? &*split_ : nullptr; }

private:
    const RenderOptions& options_;
    std::optional<AtomicFile>& magnitudes_;
    int64_t frames_ = 0;
    ColumnStore columns_;
    Picture window_;
    std::optional<PictureSurface> surface_;
    std::unique_ptr<WaterfallRenderer> renderer_;
    std::optional<SplitPictures> split_;
};

// Reads the recording piece by piece and runs the pieces on every core. Each piece carries the
// samples just before it, and the counters of the stream where those start.
void RunChain(const SignalChain& setUp, RecordingReader& reader, Outputs& outputs,
              Progress& progress, RenderResult& result, Workers& workers) {
    PieceRunner runner(setUp, outputs.Wanted(), workers);
    const std::size_t inFlight = static_cast<std::size_t>(2 * workers.Count());
    const std::size_t leadMax = static_cast<std::size_t>(LeadSamples(setUp));
    ChainCounters counters = CountersOf(setUp);  // at sample `counted`
    int64_t counted = 0;
    int64_t frames = 0;  // completed before sample `counted`
    std::vector<uint8_t> lead;
    int64_t taken = 0;
    auto takeOne = [&] {
        const std::unique_ptr<Piece> done = runner.TakeNext();
        outputs.Take(*done);
        taken += static_cast<int64_t>(done->samples.size()) - done->lead;
        progress.Update(taken);
    };
    for (;;) {
        auto piece = std::make_unique<Piece>();
        piece->samples.resize(lead.size() + PieceSamples);
        std::copy(lead.begin(), lead.end(), piece->samples.begin());
        const std::size_t n = ReadFull(reader, piece->samples.data() + lead.size(), PieceSamples);
        if (n == 0) break;
        piece->samples.resize(lead.size() + n);
        piece->lead = static_cast<int32_t>(lead.size());
        const int64_t leadStart = result.samples - piece->lead;
        frames += AdvanceCounters(counters, setUp.Engine.N, leadStart - counted);
        counted = leadStart;
        piece->counters = counters;
        ChainCounters atPiece = counters;
        piece->framesBefore = frames + AdvanceCounters(atPiece, setUp.Engine.N, piece->lead);
        result.samples += static_cast<int64_t>(n);
        const std::size_t keep = std::min(leadMax, piece->samples.size());
        lead.assign(piece->samples.end() - static_cast<std::ptrdiff_t>(keep), piece->samples.end());
        runner.Submit(std::move(piece));
        while (runner.Pending() >= inFlight) takeOne();
    }
    while (runner.Pending() > 0) takeOne();
}

RenderResult RenderFiles(const RenderOptions& options, const std::string& firPath,
                         FILE* progressOut, bool showProgress) {
    auto chain = std::make_unique<SignalChain>();
    LoadChain(*chain, firPath);
    auto reader = OpenRecording(options.input, options.raw);
    // Refuse a picture too wide for PNG before hours of work rather than after. A resampled
    // length is only estimated, so leave it some slack; the outputs check the exact count.
    if (options.windowWidth == 0 && options.splitNs == 0 && reader->ExpectedSamples() > 0 &&
        options.span.CountIn(reader->ExpectedSamples() / SamplesPerFrame) > MaxPngColumns + 16)
        throw RenderError(TooWideMessage(options.output, false));

    std::optional<AtomicFile> picture;
    if (options.splitNs == 0) picture.emplace(options.output);
    std::optional<AtomicFile> magnitudes;
    if (!options.magnitudesPath.empty()) magnitudes.emplace(options.magnitudesPath);
    Workers workers;
    Outputs outputs(options, magnitudes, workers);

    RenderResult result;
    {
        Progress progress(progressOut, showProgress, reader->ExpectedSamples());
        RunChain(*chain, *reader, outputs, progress, result, workers);
    }
    result.frames = outputs.Frames();

    if (options.windowWidth > 0) {
        result.columns = options.windowWidth;
        WritePng(outputs.Window(), *picture, workers);
    } else {
        if (result.frames == 0)
            throw RenderError(
                InputName(options.input) + ": no complete frame: the recording gives " +
                std::to_string(result.samples) + " samples at 8000 Hz and a frame needs " +
                std::to_string(SamplesPerFrame));
        if (outputs.Columns() == 0)
            throw RenderError(InputName(options.input) + ": no frame in the selected span; the " +
                              std::to_string(result.frames) + " frames run from " +
                              Seconds(FrameTimeNs(1)) + " s to " +
                              Seconds(FrameTimeNs(result.frames)) + " s");
        result.columns = outputs.Columns();
        if (SplitPictures* split = outputs.Split()) {
            split->Finish();
            result.pictures = split->Pictures();
        } else {
            WritePng(outputs.Store().TakePicture(), *picture, workers);
        }
    }
    if (magnitudes) magnitudes->Commit();
    if (picture) picture->Commit();
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
