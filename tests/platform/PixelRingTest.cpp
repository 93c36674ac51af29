// The ring the waterfall bitmap scrolls as holds, piece by piece, what a plainly scrolled picture
// would: across wrap-arounds, a smaller area, rows and columns the renderer leaves alone, and a
// copy that is not the renderer's scroll.
#include "platform/PixelRing.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "dsp/Waterfall.h"
#include "tests/support/MemorySurface.h"

namespace vireon {
namespace {

// The picture the ring's pieces make up, 0xRRGGBB per pixel.
std::vector<uint32_t> Assembled(const PixelRing& ring, const std::vector<uint32_t>& storage) {
    const int32_t w = ring.Width();
    std::vector<uint32_t> picture(storage.size(), 0x123456);
    ring.ForEachPiece({0, 0, w, ring.Height()}, [&](int32_t x, int32_t y, const PixelRect& s) {
        for (int32_t r = 0; r < s.Height; ++r)
            for (int32_t c = 0; c < s.Width; ++c)
                picture[std::size_t((y + r) * w + x + c)] =
                    storage[std::size_t((s.Y + r) * w + s.X + c)] & 0xffffff;
    });
    return picture;
}

TEST(PixelRingTest, HoldsWhatAPlainlyScrolledPictureWould) {
    constexpr int32_t W = 12, H = 9;
    struct Step {
        int32_t width, height, frames;
        bool otherCopy;  // then a copy that is not the renderer's scroll
    };
    const Step steps[] = {
        {10, 7, 25, false},  // two wraps, with columns and rows beyond the drawn area
        {12, 4, 15, false},  // another area: the ring starts again, plainly laid out
        {12, 9, 5, true},
        {3, 9, 7, false},
    };
    std::vector<uint32_t> storage(W * H, 0xffffffff);
    PixelRing ring;
    ring.Attach(storage.data(), W * sizeof(uint32_t), W, H);
    PixelRingSurface surface(ring);
    testing::MemorySurface plain(W, H);
    auto ringRenderer = std::make_unique<WaterfallRenderer>();
    auto plainRenderer = std::make_unique<WaterfallRenderer>();
    int frame = 0;
    for (const Step& s : steps) {
        for (int k = 0; k < s.frames; ++k, ++frame) {
            std::array<float, 16> values{};
            values[std::size_t(frame * 5 % 16)] = 1.0f + float(frame % 7);
            values[std::size_t((frame * 3 + 1) % 16)] = 0.5f;
            DrawSpectrum(*ringRenderer, surface, s.width, s.height, values.data(), 16);
            DrawSpectrum(*plainRenderer, plain, s.width, s.height, values.data(), 16);
            std::vector<uint32_t> expected(W * H);
            for (int32_t y = 0; y < H; ++y)
                for (int32_t x = 0; x < W; ++x)
                    expected[std::size_t(y * W + x)] = plain.Pixel(x, y);
            ASSERT_EQ(Assembled(ring, storage), expected) << "frame " << frame;
        }
        if (s.otherCopy) {
            surface.CopyRect(2, 1, 5, 4, 4, 3);  // overlapping, down and to the right
            plain.CopyRect(2, 1, 5, 4, 4, 3);
            EXPECT_FALSE(ring.Rolled());  // laid out plainly again
        }
    }
}

}  // namespace
}  // namespace vireon
