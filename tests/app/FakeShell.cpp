#include "tests/app/FakeShell.h"

#include <algorithm>

#include "app/MainWindow.h"

namespace vireon::testing {

void FakePicture::ResizeBitmap(int32_t width, int32_t height) {
    auto resized = std::make_unique<MemorySurface>(std::max(width, 0), std::max(height, 0));
    const int32_t keptWidth = std::min(resized->Width(), bitmap->Width());
    const int32_t keptHeight = std::min(resized->Height(), bitmap->Height());
    for (int32_t y = 0; y < keptHeight; ++y)
        for (int32_t x = 0; x < keptWidth; ++x) resized->at(x, y) = bitmap->Pixel(x, y);
    bitmap = std::move(resized);
}

void FakeShell::Close() {
    ++closeRequests;
    if (form != nullptr) form->OnClose();
    visible = false;
}

void FakeShell::Settle() {
    while (!pending.empty()) {
        const WaveInMessage message = pending.front();
        pending.pop_front();
        if (form != nullptr) form->OnWaveIn(message);
    }
}

void FakeShell::ResizePanel(PictureSize outer) {
    panel = outer;
    picture.size = {std::max(outer.Width - 2, 0), std::max(outer.Height - 2, 0)};
    if (form != nullptr) form->OnResize();
}

}  // namespace vireon::testing
