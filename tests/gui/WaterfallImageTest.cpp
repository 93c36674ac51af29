// The waterfall bitmap keeps its pixels from the top-left corner when it changes size, and the
// control paints it unscaled.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "app/WaterfallImage.h"

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
    view.Bitmap() = Numbered(8, 6);
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(shown.pixel(x, y), qRgb(x, y, 77)) << x << "," << y;
}

TEST(WaterfallImageTest, ResizeBitmapKeepsPixelsAcrossSteps) {
    WaterfallImage view;
    view.ResizeBitmap(4, 4);
    view.Bitmap().setPixel(1, 2, qRgb(1, 2, 3));
    view.ResizeBitmap(2, 3);
    view.ResizeBitmap(6, 6);
    EXPECT_EQ(view.Bitmap().pixel(1, 2), qRgb(1, 2, 3));
    EXPECT_EQ(view.Bitmap().pixel(3, 2), qRgb(255, 255, 255));  // cut off, then white again
}

}  // namespace
}  // namespace vireon
