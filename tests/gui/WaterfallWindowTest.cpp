// The waterfall inside the Qt window: the bitmap's size against the panel and the image, its
// pixels across resizes, and what reaches the screen. What the window's logic draws where is
// tests/app/WaterfallTest's.
#include <gtest/gtest.h>

#include <QFrame>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <array>

#include "app/linux/WaterfallImage.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::WindowHarness;

const std::string NormalPlacement =
    "WindowTop=52\r\nWindowLeft=5\r\nWindowWidth=615\r\nWindowHeight=346\r\nWindowMaximized="
    "off\r\n";

QRgb White() {
    return qRgb(255, 255, 255);
}

int Grey(const QImage& image, int x, int y) {
    return qBlue(image.pixel(x, y));
}

TEST(WaterfallWindowTest, BitmapIsThePanelsOuterSizeAndTheImageTwoPixelsLess) {
    WindowHarness h;
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    const QSize menu(0, w.MainMenu1->height());
    for (const QSize windowSize :
         {QSize(615, 346), QSize(300, 200), QSize(1000, 700), QSize(640, 120), QSize(615, 346)}) {
        w.resize(windowSize);
        WindowHarness::Settle();
        const QSize client = w.PanelHz->size();
        EXPECT_EQ(client, windowSize - menu);
        EXPECT_EQ(w.ImageHz->Bitmap().size(), client) << windowSize.width();
        EXPECT_EQ(w.ImageHz->size(), client - QSize(2, 2)) << windowSize.width();
        EXPECT_EQ(w.ImageHz->pos(), QPoint(1, 1));
    }
    // Maximising is a size change like any other.
    w.showMaximized();
    WindowHarness::Settle();
    EXPECT_EQ(w.ImageHz->Bitmap().size(), w.PanelHz->size());
    EXPECT_EQ(w.PanelHz->frameWidth(), 1);
    EXPECT_EQ(w.PanelHz->frameShadow(), QFrame::Sunken);
}

TEST(WaterfallWindowTest, WindowsTooSmallForAPictureStillTakeColumns) {
    WindowHarness h;
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    std::array<float, 256> values{};
    values[80] = 2.0f;
    for (const QSize size : {QSize(1, 1), QSize(3, 22), QSize(2, 25), QSize(40, 21)}) {
        w.resize(size);
        WindowHarness::Settle();
        for (int i = 0; i < 3; ++i) h.form->DrawSpectrum(values.data(), 256);
        WindowHarness::Settle();
        // Down to an image of no pixels at all (the panel's bevel takes them).
        EXPECT_EQ(w.ImageHz->Bitmap().size(), w.PanelHz->size());
        EXPECT_EQ(w.ImageHz->size(), (w.PanelHz->size() - QSize(2, 2)).expandedTo({0, 0}));
    }
}

TEST(WaterfallWindowTest, ResizingKeepsTheHistoryFromTheTopLeft) {
    WindowHarness h;
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    std::array<float, 256> values{};  // silence: a black column
    h.form->DrawSpectrum(values.data(), 256);
    const int x = w.ImageHz->width() - 1;
    ASSERT_EQ(Grey(w.ImageHz->Bitmap(), x, 10), 0);

    w.resize(w.width() + 50, w.height() + 40);
    WindowHarness::Settle();
    const QImage& bitmap = w.ImageHz->Bitmap();
    EXPECT_EQ(Grey(bitmap, x, 10), 0);                         // still where it was
    EXPECT_EQ(Grey(bitmap, x - 1, 10), 0);                     // and its copy one to the left
    EXPECT_EQ(bitmap.pixel(bitmap.width() - 1, 10), White());  // new area is white
    EXPECT_EQ(bitmap.pixel(x, bitmap.height() - 1), White());
}

TEST(WaterfallWindowTest, TheScreenStaysACopyOfTheBitmapWhateverThePaintRhythm) {
    WindowHarness h;
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    WindowHarness::Settle();
    // Columns that differ from one another, painted after one, two or three of them at a time.
    for (int k = 0; k < 40; ++k) {
        std::array<float, 256> values{};
        values[(k * 37) % 256] = 3.0f;
        values[(k * 11 + 5) % 256] = 1.0f + float(k % 4);
        h.form->DrawSpectrum(values.data(), 256);
        if (k % 3 != 1) WindowHarness::Settle();
    }
    WindowHarness::Settle();
    // What the window system was given, not a fresh paint of the bitmap.
    const QPoint at = w.ImageHz->mapTo(&w, QPoint(0, 0));
    const QImage screen =
        w.screen()
            ->grabWindow(w.winId(), at.x(), at.y(), w.ImageHz->width(), w.ImageHz->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(screen.size(), w.ImageHz->size());
    const QImage& bitmap = w.ImageHz->Bitmap();
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            ASSERT_EQ(screen.pixel(x, y), bitmap.pixel(x, y)) << "at " << x << "," << y;
}

}  // namespace
}  // namespace vireon
