// The waterfall bitmap keeps its pixels from the top-left corner when it changes size, and the
// control paints it unscaled.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <array>
#include <memory>

#include "app/linux/WaterfallImage.h"
#include "dsp/Waterfall.h"
#include "platform/linux/QImageSurface.h"
#include "platform/linux/RingImage.h"

namespace vireon {
namespace {

// A picture where every pixel tells where it came from.
QImage Numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x, y, 77));
    return image;
}

TEST(ResizedKeepingPixelsTest, KeepsTheTopLeftAndFillsTheRestWhite) {
    struct Case {
        int fromW, fromH, toW, toH;
    };
    const Case cases[] = {
        {10, 8, 14, 11},  // larger both ways
        {10, 8, 6, 5},    // smaller both ways
        {10, 8, 16, 3},   // wider, lower
        {10, 8, 10, 8},   // the same
        {1, 1, 3, 2},
    };
    for (const Case& c : cases) {
        const QImage source = Numbered(c.fromW, c.fromH);
        const QImage result = ResizedKeepingPixels(source, c.toW, c.toH);
        ASSERT_EQ(result.size(), QSize(c.toW, c.toH));
        EXPECT_EQ(result.format(), QImage::Format_RGB32);
        for (int y = 0; y < c.toH; ++y)
            for (int x = 0; x < c.toW; ++x) {
                const QRgb expected =
                    (x < c.fromW && y < c.fromH) ? qRgb(x, y, 77) : qRgb(255, 255, 255);
                ASSERT_EQ(result.pixel(x, y), expected)
                    << c.fromW << "x" << c.fromH << " -> " << c.toW << "x" << c.toH << " at " << x
                    << "," << y;
            }
    }
}

TEST(ResizedKeepingPixelsTest, EmptyAndConvertedSources) {
    // No picture yet: all white.
    const QImage fresh = ResizedKeepingPixels(QImage(), 4, 3);
    ASSERT_EQ(fresh.size(), QSize(4, 3));
    EXPECT_EQ(fresh.pixel(3, 2), qRgb(255, 255, 255));
    // A size of nothing (or less) is a null picture, not a failure.
    EXPECT_TRUE(ResizedKeepingPixels(Numbered(5, 5), 0, 7).isNull());
    EXPECT_TRUE(ResizedKeepingPixels(Numbered(5, 5), -3, -1).isNull());
    // Another pixel format is taken over pixel for pixel.
    QImage argb(2, 2, QImage::Format_ARGB32);
    argb.fill(qRgb(10, 20, 30));
    EXPECT_EQ(ResizedKeepingPixels(argb, 3, 3).pixel(1, 1), qRgb(10, 20, 30));
}

TEST(WaterfallImageTest, PaintsTheBitmapUnscaledFromTheTopLeft) {
    WaterfallImage view;
    view.resize(6, 4);
    view.ResizeBitmap(8, 6);  // larger than the control, as in the window
    view.SetBitmap(Numbered(8, 6));
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(shown.pixel(x, y), qRgb(x, y, 77)) << x << "," << y;
}

TEST(WaterfallImageTest, ResizeBitmapKeepsPixelsAcrossSteps) {
    WaterfallImage view;
    view.ResizeBitmap(4, 4);
    QImage marked = view.Bitmap();
    marked.setPixel(1, 2, qRgb(1, 2, 3));
    view.SetBitmap(marked);
    view.ResizeBitmap(2, 3);
    view.ResizeBitmap(6, 6);
    EXPECT_EQ(view.Bitmap().pixel(1, 2), qRgb(1, 2, 3));
    EXPECT_EQ(view.Bitmap().pixel(3, 2), qRgb(255, 255, 255));  // cut off, then white again
}

// The bitmap scrolls as a ring; it must hold and show what a plainly scrolled one would, across
// wrap-arounds, resizes, and rows or columns the renderer leaves alone.
TEST(WaterfallImageTest, TheRingHoldsAndShowsWhatAPlainBitmapWould) {
    struct Step {
        int bitmapW, bitmapH, width, height, frames;
    };
    const Step steps[] = {
        {12, 9, 10, 7, 25},    // two wraps, with the bitmap's extra columns and rows
        {16, 5, 14, 3, 7},     // wider and lower: the rows cut off keep nothing
        {16, 12, 14, 10, 30},  // taller: rows that stood still while others scrolled come back
        {6, 12, 6, 12, 9},     // the control as large as the bitmap
    };
    WaterfallImage view;
    QImage plain;
    auto ringRenderer = std::make_unique<WaterfallRenderer>();
    auto plainRenderer = std::make_unique<WaterfallRenderer>();
    int frame = 0;
    for (const Step& s : steps) {
        view.ResizeBitmap(s.bitmapW, s.bitmapH);
        plain = ResizedKeepingPixels(plain, s.bitmapW, s.bitmapH);
        for (int k = 0; k < s.frames; ++k, ++frame) {
            std::array<float, 16> values{};
            values[(frame * 5) % 16] = 1.0f + float(frame % 7);
            values[(frame * 3 + 1) % 16] = 0.5f;
            RingImageSurface ring(view.Pixels());
            QImageSurface reference(plain);
            DrawSpectrum(*ringRenderer, ring, s.width, s.height, values.data(), 16);
            DrawSpectrum(*plainRenderer, reference, s.width, s.height, values.data(), 16);
            ASSERT_EQ(view.Bitmap(), plain) << "frame " << frame;
        }
        view.resize(s.width, s.height);
        const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown, plain.copy(0, 0, s.width, s.height)) << "frame " << frame;
    }
}

}  // namespace
}  // namespace vireon
