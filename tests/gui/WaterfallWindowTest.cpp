// The waterfall inside the window: the bitmap's size against the panel and the image, the
// column drawn with the image's size, and sound from the device all the way to the picture.
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

using testing::Coefficients;
using testing::WindowHarness;

const std::string NormalPlacement =
    "WindowTop=52\r\nWindowLeft=5\r\nWindowWidth=615\r\nWindowHeight=346\r\nWindowMaximized="
    "off\r\n";

QRgb White() {
    return qRgb(255, 255, 255);
}

// Plays the bytes into the device a buffer at a time, letting the window handle each.
void Feed(WindowHarness& h, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += 128) {
        const std::size_t n = std::min<std::size_t>(128, bytes.size() - at);
        ASSERT_EQ(h.audio.record(h.Device(), {bytes.data() + at, n}), static_cast<std::int32_t>(n));
        WindowHarness::Settle();
    }
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

TEST(WaterfallWindowTest, ColumnUsesTheImageSizeNotTheBitmapSize) {
    WindowHarness h;
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    WindowHarness::Settle();
    const int W = w.ImageHz->width(), H = w.ImageHz->height();
    std::array<float, 256> values{};
    values[0] = 5.0f;                  // lowest entry: the bottom rows
    values[254] = values[255] = 5.0f;  // the two highest: every tap of the top row
    h.form->DrawSpectrum(values.data(), 256);

    const QImage& bitmap = w.ImageHz->Bitmap();
    EXPECT_EQ(Grey(bitmap, W - 1, H - 1), 255);  // row 0 at the bottom of the image
    EXPECT_EQ(Grey(bitmap, W - 1, 0), 255);      // the top row
    EXPECT_EQ(Grey(bitmap, W - 1, H / 2), 0);
    EXPECT_EQ(Grey(bitmap, W - 2, H - 1), 255);  // the shift copied it one to the left
    // The bitmap's extra column and row are never written.
    for (int y = 0; y < bitmap.height(); ++y) ASSERT_EQ(bitmap.pixel(W + 1, y), White());
    for (int x = 0; x < bitmap.width(); ++x) ASSERT_EQ(bitmap.pixel(x, H + 1), White());

    // And the control shows it once painted.
    WindowHarness::Settle();
    const QImage shown = w.ImageHz->grab().toImage();
    EXPECT_EQ(qBlue(shown.pixel(W - 1, H - 1)), 255);
    EXPECT_EQ(qBlue(shown.pixel(W - 1, H / 2)), 0);
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

// The brightest pixel row of column x, from the top.
int BrightestRow(const QImage& bitmap, int x, int height) {
    int best = 0, bestGrey = -1;
    for (int y = 0; y < height; ++y)
        if (Grey(bitmap, x, y) > bestGrey) bestGrey = Grey(bitmap, x, y), best = y;
    return best;
}

TEST(WaterfallWindowTest, AToneFromTheDeviceLandsAtItsRow) {
    WindowHarness h;
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    WindowHarness::Settle();
    ASSERT_TRUE(h.state->Capture.Receiving);
    Feed(h, testing::Tone(1000.0, 8000));        // one second
    EXPECT_EQ(h.audio.queued(h.Device()), 10u);  // every buffer came back and was replaced

    // 1000 Hz is entry 128 - 500 / (8000 / 768) = 80, counted from the bottom.
    const int H = w.ImageHz->height();
    const int row = H - 1 - BrightestRow(w.ImageHz->Bitmap(), w.ImageHz->width() - 1, H);
    const int firstRowOf80 = (80 * H + 255) / 256;  // smallest row with row * 256 / H == 80
    EXPECT_NEAR(row, firstRowOf80, 2);
    // 31 columns drawn in a second: the 40th column from the right is still white.
    EXPECT_NE(w.ImageHz->Bitmap().pixel(w.ImageHz->width() - 20, H - 1 - row), White());
    EXPECT_EQ(w.ImageHz->Bitmap().pixel(w.ImageHz->width() - 40, H - 1 - row), White());
}

TEST(WaterfallWindowTest, WithoutTheCoefficientFileTheProgramRunsOnWithBlackColumns) {
    WindowHarness h(Coefficients::Missing);
    h.folder.Write(SettingsFileName, NormalPlacement);
    QtMainWindow& w = h.Open();
    // One box per filter, with the error icon, and no other.
    ASSERT_EQ(h.boxes.shown.size(), 2u);
    for (const auto& box : h.boxes.shown) {
        EXPECT_EQ(box.flags, MB_ICONERROR);
        EXPECT_EQ(box.text, "Cannot load the filter " + h.folder.File(CoefficientFileName));
    }
    EXPECT_EQ(h.state->Chain.FilterSin.TapCount, 0);
    ASSERT_TRUE(h.state->Capture.Receiving);

    Feed(h, testing::Tone(1000.0, 2560));
    const QImage& bitmap = w.ImageHz->Bitmap();
    const int x = w.ImageHz->width() - 1;
    for (int y = 0; y < w.ImageHz->height(); ++y) ASSERT_EQ(Grey(bitmap, x, y), 0) << y;
}

}  // namespace
}  // namespace vireon
