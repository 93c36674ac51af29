#pragma once
// The command line of vireon-render.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/render/chain/FrameSpan.h"

namespace vireon::render {

constexpr int32_t DefaultHeight = 298;  // the waterfall's height in the window
constexpr int32_t MaxPictureSide = 16384;

struct RenderOptions {
    std::string input;           // "-" is standard input
    std::string output;          // always set after parsing
    std::string firPath;         // empty: "fir1.txt" beside the program
    std::string magnitudesPath;  // empty: none
    int32_t height = DefaultHeight;
    int32_t windowWidth = 0;  // 0: one column per frame over the whole recording
    bool raw = false;         // --raw, or implied by the input's name
    FrameSpan span;
    int64_t splitNs = 0;  // --split: one picture per span of this length; 0: one picture
    bool showHelp = false;
    bool showVersion = false;
};

// Parses the arguments after the program name. Throws UsageError.
RenderOptions ParseArguments(const std::vector<std::string>& args);

// True when the input is read as raw unsigned 8-bit mono at 8000 Hz without --raw.
bool IsRawName(std::string_view path);

// "dir/rec.wav" -> "dir/rec.png"; a name without an extension gets ".png" appended.
std::string DefaultOutputPath(std::string_view input);

// Decimal seconds ("12", "0.5", ".25", "3.") to whole nanoseconds; digits beyond the ninth
// decimal are dropped. Empty, signed, exponent forms or absurdly large values give nullopt.
std::optional<int64_t> ParseSeconds(std::string_view text);

// A decimal count in 1 .. max, nothing else.
std::optional<int32_t> ParseCount(std::string_view text, int32_t max);

std::string HelpText();

}  // namespace vireon::render
