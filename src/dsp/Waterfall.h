#pragma once
// Turns one magnitude spectrum into one grey column: log, normalise to the frame's maximum,
// three taps per pixel row, row 0 at the bottom.
#include <cstdint>

#include "platform/ImageSurface.h"

namespace vireon {

constexpr int32_t WaterfallCapacity = 4096;

struct WaterfallRenderer {
    float LogSpectrum[WaterfallCapacity] = {};
    float Scale = 1.0f;  // of the column last prepared
};

// The first half of a column: logarithms, their maximum and the scale. count is 1 .. 4096.
void PrepareColumn(WaterfallRenderer& r, const float* values, int32_t count);

// Grey levels 0..255 of rows 0 .. height - 1 (row 0 = bottom) of the column last prepared, for a
// picture of the given height. Row i sums the scaled logarithms at entries (i - 1), i and
// (i + 1) times count / height (kept within the spectrum); its grey is that sum truncated and
// divided by three, at most 255.
void ColumnGreys(const WaterfallRenderer& r, int32_t count, int32_t height, uint8_t* greys);

// Prepares the column and draws it at x of the surface, row 0 at y = height - 1, without
// moving anything else.
void DrawColumn(WaterfallRenderer& r, ImageSurface& surface, int32_t x, int32_t height,
                const float* values, int32_t count);

// Draws the column at x = width - 1 of the surface and scrolls the width x height area one
// pixel left. width and height are those of the visible image, not of the surface.
void DrawSpectrum(WaterfallRenderer& r, ImageSurface& surface, int32_t width, int32_t height,
                  const float* values, int32_t count);

}  // namespace vireon
