// The waterfall control on a real X display at a scale of one (run under Xvfb): drawn from the
// X server's copy of the bitmap, or by the toolkit when the server cannot hold that copy.
// Either way the screen must show the bitmap pixel for pixel, across wrap-arounds and resizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>
#include <array>
#include <memory>
#include <string>

#include "app/linux/WaterfallImage.h"
#include "dsp/Waterfall.h"
#include "platform/linux/RingImage.h"

namespace vireon {
namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

void ShowAndWait(QWidget& window) {
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle() != nullptr && window.windowHandle()->isExposed()) &&
           clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(window.windowHandle()->isExposed());
    Settle();
}

// What the X server shows in the control's window.
QImage OnScreen(WaterfallImage& view) {
    Settle();
    return QGuiApplication::primaryScreen()
        ->grabWindow(view.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Empty when the two match, else where they first differ.
std::string Difference(const QImage& shown, const QImage& expected) {
    if (shown.size() != expected.size())
        return "size " + std::to_string(shown.width()) + "x" + std::to_string(shown.height());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

// Draws frames as the main window does: the renderer at the control's size, then the column shown.
void DrawFrames(WaterfallImage& view, WaterfallRenderer& renderer, int& frame, int count) {
    for (int k = 0; k < count; ++k, ++frame) {
        std::array<float, 16> values{};
        values[(frame * 5) % 16] = 1.0f + float(frame % 7);
        values[(frame * 3 + 1) % 16] = 0.5f;
        RingImageSurface surface(view.Pixels());
        const QSize size = view.DeviceSize();
        DrawSpectrum(renderer, surface, size.width(), size.height(), values.data(), 16);
        view.ShowScrolledColumn(size);
    }
}

TEST(WaterfallOnXTest, TheScreenShowsTheBitmapFromTheServersCopyOrTheToolkit) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    struct Case {
        const char* what;
        int bitmapExtraWidth;  // beyond the control's two columns of frame
        bool inServer;         // drawn from the server's copy
    };
    const Case cases[] = {
        {"the server's copy", 0, true},
        // Wider than any pixmap the server makes (32767): the toolkit takes over.
        {"a bitmap the server refuses", 40000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(240, 160);
        WaterfallImage view(&window);
        view.setGeometry(1, 1, 150, 100);
        ShowAndWait(window);
        auto renderer = std::make_unique<WaterfallRenderer>();
        int frame = 0;
        // Past one wrap of the ring, then smaller and larger, as when the window is resized.
        const QSize sizes[] = {{150, 100}, {120, 60}, {200, 140}};
        const int frames[] = {170, 40, 30};
        for (int step = 0; step < 3; ++step) {
            const QSize size = sizes[step];
            view.resize(size);
            view.ResizeBitmap(size.width() + 2 + c.bitmapExtraWidth, size.height() + 2);
            DrawFrames(view, *renderer, frame, frames[step]);
            EXPECT_EQ(view.testAttribute(Qt::WA_PaintOnScreen), c.inServer);
            EXPECT_EQ(Difference(OnScreen(view), view.Bitmap().copy(QRect(QPoint(0, 0), size))), "")
                << "frame " << frame;
        }
    }
}

}  // namespace
}  // namespace vireon

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
