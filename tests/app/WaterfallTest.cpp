// The waterfall in the window: the bitmap takes the panel's outer size, each column is drawn at
// the image control's size, and sound from the device reaches the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tests/app/ShellHarness.h"

namespace vireon {
namespace {

using testing::Coefficients;
using testing::MemorySurface;
using testing::ShellHarness;

constexpr std::uint32_t White = 0xFFFFFF;
constexpr PictureSize NormalPanel{615, 325};  // in the design window, below its menu bar

// Plays the bytes into the device a buffer at a time, letting the window handle each.
void Feed(ShellHarness& h, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += 128) {
        const std::size_t n = std::min<std::size_t>(128, bytes.size() - at);
        ASSERT_EQ(h.audio.record(h.Device(), {bytes.data() + at, n}), static_cast<std::int32_t>(n));
        h.Settle();
    }
}

TEST(WaterfallTest, TheBitmapTakesThePanelsOuterSizeAndTinyWindowsStillTakeColumns) {
    ShellHarness h;
    TFormMain& form = h.Open();
    std::array<float, 256> values{};
    values[80] = 2.0f;
    // Down to an image of no pixels at all (the panel's bevel takes them).
    for (const PictureSize panel : {NormalPanel, PictureSize{300, 179}, PictureSize{1000, 679},
                                    PictureSize{640, 99}, PictureSize{1, 1}, PictureSize{3, 1},
                                    PictureSize{2, 4}, PictureSize{40, 0}, NormalPanel}) {
        h.shell.ResizePanel(panel);
        const MemorySurface& bitmap = *h.shell.picture.bitmap;
        EXPECT_EQ((PictureSize{bitmap.Width(), bitmap.Height()}), panel) << panel.Width;
        h.shell.picture.columnsShown.clear();
        for (int i = 0; i < 3; ++i) form.DrawSpectrum(values.data(), 256);
        EXPECT_EQ(h.shell.picture.columnsShown,
                  std::vector<PictureSize>(3, h.shell.picture.Size()));
    }
}

TEST(WaterfallTest, TheColumnIsDrawnAtTheImageSizeNotTheBitmapSize) {
    ShellHarness h;
    h.Open();
    h.shell.ResizePanel(NormalPanel);
    const auto [W, H] = h.shell.picture.Size();
    std::array<float, 256> values{};
    values[0] = 5.0f;                  // lowest entry: the bottom rows
    values[254] = values[255] = 5.0f;  // the two highest: every tap of the top row
    h.form->DrawSpectrum(values.data(), 256);

    const MemorySurface& bitmap = *h.shell.picture.bitmap;
    EXPECT_EQ(bitmap.Grey(W - 1, H - 1), 255);  // row 0 at the bottom of the image
    EXPECT_EQ(bitmap.Grey(W - 1, 0), 255);      // the top row
    EXPECT_EQ(bitmap.Grey(W - 1, H / 2), 0);
    EXPECT_EQ(bitmap.Grey(W - 2, H - 1), 255);  // the shift copied it one to the left
    // The bitmap's extra column and row are never written.
    for (int y = 0; y < bitmap.Height(); ++y) ASSERT_EQ(bitmap.Pixel(W + 1, y), White);
    for (int x = 0; x < bitmap.Width(); ++x) ASSERT_EQ(bitmap.Pixel(x, H + 1), White);
}

// The brightest pixel row of column x, from the top.
int BrightestRow(const MemorySurface& bitmap, int x, int height) {
    int best = 0, bestGrey = -1;
    for (int y = 0; y < height; ++y)
        if (bitmap.Grey(x, y) > bestGrey) bestGrey = bitmap.Grey(x, y), best = y;
    return best;
}

TEST(WaterfallTest, AToneFromTheDeviceLandsAtItsRow) {
    ShellHarness h;
    h.Open();
    h.shell.ResizePanel(NormalPanel);
    ASSERT_TRUE(h.state->Capture.Receiving);
    Feed(h, testing::Tone(1000.0, 8000));        // one second
    EXPECT_EQ(h.audio.queued(h.Device()), 10u);  // every buffer came back and was replaced

    // 1000 Hz is entry 128 - 500 / (8000 / 768) = 80, counted from the bottom.
    const auto [W, H] = h.shell.picture.Size();
    const MemorySurface& bitmap = *h.shell.picture.bitmap;
    const int row = H - 1 - BrightestRow(bitmap, W - 1, H);
    const int firstRowOf80 = (80 * H + 255) / 256;  // smallest row with row * 256 / H == 80
    EXPECT_NEAR(row, firstRowOf80, 2);
    // 31 columns drawn in a second: the 40th column from the right is still white.
    EXPECT_NE(bitmap.Pixel(W - 20, H - 1 - row), White);
    EXPECT_EQ(bitmap.Pixel(W - 40, H - 1 - row), White);
}

TEST(WaterfallTest, WithoutTheCoefficientFileTheProgramRunsOnWithBlackColumns) {
    ShellHarness h(Coefficients::Missing);
    h.Open();
    h.shell.ResizePanel(NormalPanel);
    // One box per filter, with the error icon, and no other.
    ASSERT_EQ(h.boxes.shown.size(), 2u);
    for (const auto& box : h.boxes.shown) {
        EXPECT_EQ(box.flags, MB_ICONERROR);
        EXPECT_EQ(box.text, "Cannot load the filter " + h.folder.File(CoefficientFileName));
    }
    EXPECT_EQ(h.state->Chain.FilterSin.TapCount, 0);
    ASSERT_TRUE(h.state->Capture.Receiving);

    Feed(h, testing::Tone(1000.0, 2560));
    const MemorySurface& bitmap = *h.shell.picture.bitmap;
    const int x = h.shell.picture.Size().Width - 1;
    for (int y = 0; y < h.shell.picture.Size().Height; ++y) ASSERT_EQ(bitmap.Grey(x, y), 0) << y;
}

}  // namespace
}  // namespace vireon
