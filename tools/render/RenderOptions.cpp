#include "tools/render/RenderOptions.h"

#include <getopt.h>
#include <cctype>

#include "platform/AsciiText.h"
#include "platform/FilePaths.h"
#include "tools/render/RenderError.h"
#include "tools/render/input/RecordingReader.h"

namespace vireon::render {

bool IsRawName(std::string_view path) {
    return path == "-" || EndsWithIgnoringAsciiCase(path, ".u8") ||
           EndsWithIgnoringAsciiCase(path, ".raw");
}

std::string DefaultOutputPath(std::string_view input) {
    const std::size_t nameStart = FileNameStart(input);
    const std::size_t dot = input.find_last_of('.');
    // A leading dot names a hidden file rather than starting an extension.
    if (dot != std::string_view::npos && dot > nameStart) input = input.substr(0, dot);
    return std::string(input) + ".png";
}

std::optional<int64_t> ParseSeconds(std::string_view text) {
    constexpr int64_t limit = int64_t{1'000'000'000} * 1'000'000'000;  // a billion seconds
    int64_t seconds = 0;
    int64_t fraction = 0;
    int64_t fractionScale = 1'000'000'000;
    bool anyDigit = false;
    std::size_t i = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        seconds = seconds * 10 + (text[i] - '0');
        if (seconds > limit / 1'000'000'000) return std::nullopt;
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            anyDigit = true;
            if (fractionScale > 1) {
                fractionScale /= 10;
                fraction += (text[i] - '0') * fractionScale;
            }
        }
    }
    if (!anyDigit || i != text.size()) return std::nullopt;
    return seconds * 1'000'000'000 + fraction;
}

std::optional<int32_t> ParseCount(std::string_view text, int32_t max) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > max) return std::nullopt;
    return value;
}

RenderOptions ParseArguments(const std::vector<std::string>& args) {
    RenderOptions options;
    std::string height, window, start, duration, split;

    // Values are collected as text first and checked once all arguments are known. getopt_long
    // takes them as "-o X", "-oX", "--output X" or "--output=X", and the inputs wherever they
    // stand; "--" ends the options.
    enum : int { Fir = 256, Magnitudes, Height, Window, Start, Duration, Split, Raw };
    static const option longOptions[] = {
        {"output", required_argument, nullptr, 'o'},
        {"fir", required_argument, nullptr, Fir},
        {"magnitudes", required_argument, nullptr, Magnitudes},
        {"height", required_argument, nullptr, Height},
        {"window", required_argument, nullptr, Window},
        {"start", required_argument, nullptr, Start},
        {"duration", required_argument, nullptr, Duration},
        {"split", required_argument, nullptr, Split},
        {"raw", no_argument, nullptr, Raw},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    std::vector<std::string> argv = {"vireon-render"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const int argc = static_cast<int>(argv.size());

    // getopt keeps its place in globals: 0 starts it afresh, and it must not print. After each
    // call, the argument just taken is at optind - 1 (its value's, when given apart, at optind -
    // 2).
    optind = 0;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, pointers.data(), ":o:hV", longOptions, nullptr)) != -1) {
        const std::string last = pointers[std::size_t(optind - 1)];
        std::string* value = nullptr;
        switch (c) {
            case 'o':
                value = &options.output;
                break;
            case Fir:
                value = &options.firPath;
                break;
            case Magnitudes:
                value = &options.magnitudesPath;
                break;
            case Height:
                value = &height;
                break;
            case Window:
                value = &window;
                break;
            case Start:
                value = &start;
                break;
            case Duration:
                value = &duration;
                break;
            case Split:
                value = &split;
                break;
            case Raw:
                options.raw = true;
                break;
            case 'h':
                options.showHelp = true;
                break;
            case 'V':
                options.showVersion = true;
                break;
            case ':':
                // MinGW's getopt_long (BSD's) answers ':' also for a value given to an option
                // that takes none, where glibc's answers '?'.
                if (last.starts_with("--") && last.find('=') != std::string::npos)
                    throw UsageError("option '" + last + "' takes no value");
                throw UsageError("option '" + last + "' needs a value");
            default:
                if (optopt != 0 && last.starts_with("--"))
                    throw UsageError("option '" + last + "' takes no value");
                if (optopt != 0)
                    throw UsageError(std::string("unknown option '-") + char(optopt) + "'");
                throw UsageError("unknown option '" + last + "'");
        }
        if (value) {
            *value = optarg;
            const bool apart = optarg == pointers[std::size_t(optind - 1)];
            if (value->empty())
                throw UsageError("option '" +
                                 (apart ? std::string(pointers[std::size_t(optind - 2)]) : last) +
                                 "' needs a value");
        }
    }
    std::vector<std::string> inputs;
    for (int i = optind; i < argc; ++i) inputs.emplace_back(pointers[std::size_t(i)]);

    if (options.showHelp || options.showVersion) return options;

    if (inputs.empty()) throw UsageError("no input file given");
    if (inputs.size() > 1)
        throw UsageError("only one input file can be given, not '" + inputs[1] + "' too");
    options.input = inputs[0];
    if (IsRawName(options.input)) options.raw = true;

    if (!height.empty()) {
        auto h = ParseCount(height, MaxPictureSide);
        if (!h)
            throw UsageError("--height must be a whole number from 1 to " +
                             std::to_string(MaxPictureSide) + ", not '" + height + "'");
        options.height = *h;
    }
    if (!window.empty()) {
        auto w = ParseCount(window, MaxPictureSide);
        if (!w)
            throw UsageError("--window must be a whole number from 1 to " +
                             std::to_string(MaxPictureSide) + ", not '" + window + "'");
        options.windowWidth = *w;
    }
    if (!start.empty()) {
        auto s = ParseSeconds(start);
        if (!s)
            throw UsageError("--start must be a number of seconds such as 12.5, not '" + start +
                             "'");
        options.span.startNs = *s;
    }
    if (!duration.empty()) {
        auto d = ParseSeconds(duration);
        if (!d || *d == 0)
            throw UsageError("--duration must be a positive number of seconds such as 2.5, not '" +
                             duration + "'");
        options.span.endNs = options.span.startNs + *d;  // both below 2^60: no overflow
    }
    if (!split.empty()) {
        // A span shorter than a frame would leave pictures without columns; a longer one than
        // a PNG can hold is refused before any work.
        constexpr int64_t longest = NanosecondsPerFrame * 1'000'000;
        auto s = ParseSeconds(split);
        if (!s || *s < NanosecondsPerFrame || *s > longest)
            throw UsageError("--split must be a number of seconds from 0.031875 to 31875, not '" +
                             split + "'");
        if (options.windowWidth > 0) throw UsageError("--split and --window cannot be combined");
        options.splitNs = *s;
    }
    if (options.windowWidth > 0 && !options.span.IsWhole())
        throw UsageError(
            "--window shows the end of the recording; it cannot be combined with --start or "
            "--duration");

    if (options.output.empty()) {
        if (options.input == "-") throw UsageError("reading standard input needs --output");
        options.output = DefaultOutputPath(options.input);
        if (SameFileName(options.output, options.input))
            throw UsageError("the picture would replace the input '" + options.input +
                             "'; give --output");
    }
    if (!options.magnitudesPath.empty() && SameFileName(options.magnitudesPath, options.output))
        throw UsageError("--magnitudes and --output name the same file '" + options.output + "'");
    return options;
}

std::string HelpText() {
    return R"(Usage: vireon-render [options] INPUT

Draws the waterfall of a recording as a PNG picture, with the same signal chain and
renderer as the live window: 1500 Hz mixer, low-pass filter, one sample in three kept,
a 256-point spectrum every 85 kept samples (8000/255 = 31.37 frames per second),
covering 167 Hz (bottom) to 2823 Hz (top).

)" + InputHelpText() +
           R"(
Options:
  -o, --output FILE     the PNG to write (default: INPUT with its extension replaced
                        by .png; required when INPUT is "-")
      --fir FILE        the filter coefficient file (default: fir1.txt beside the
                        program)
      --height H        picture height in pixels, 1..16384 (default 298)
      --start SECONDS   keep only the frames computed at or after this time
      --duration SECONDS
                        keep only the frames computed before START + SECONDS
      --window W        instead of the whole recording, write what a window whose
                        waterfall is W x H pixels shows once the whole input has been
                        received (newest column at the right; columns not yet reached
                        stay white)
      --split SECONDS   write one picture per SECONDS of frames instead of one for
                        everything, as OUTPUT-0001.png, OUTPUT-0002.png, ... (OUTPUT
                        without its .png), each written as soon as its span is complete
      --magnitudes FILE also write every frame's 256 magnitudes as little-endian
                        32-bit floats, frame after frame (all frames, whatever
                        --start and --duration select)
      --raw             read INPUT as raw unsigned 8-bit mono at 8000 Hz
  -h, --help            show this help
  -V, --version         show the version

The picture: one column per frame, oldest at the left, so it is as wide as the number
of frames. Frame k (k = 1, 2, ...) is computed at input sample 255 k, that is at
time 0.031875 k seconds; --start S --duration D keep the frames whose time t satisfies
S <= t < S + D. SECONDS are decimal (12, 0.5, 90.25). Frames before the start are still
computed, so the chain is in the same state as if the whole recording had been played.
A PNG can be at most 1000000 columns wide (about 8.8 hours); select a span or use
--split for longer recordings. With --split the spans start at --start (or 0); pictures
already written stay when a later one fails.

Exit status: 0 on success, 2 for a wrong command line, 1 for any other failure. On a
failure nothing is left at the output paths (an existing file there is kept as it was).
An output that exists must be a writable regular file; a symbolic link is followed to
the file it names, and an existing file keeps its permissions and owner.
)";
}

}  // namespace vireon::render
