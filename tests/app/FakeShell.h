#pragma once
// A platform's window without a window, for the window's logic: it records what TFormMain asks
// of it, keeps the waterfall bitmap in plain memory, and holds the device's notifications until
// the test turns the "event loop" (Settle) or the logic asks for them at the end.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindowShell.h"
#include "tests/support/MemorySurface.h"

namespace vireon::testing {

// ImageHz: the bitmap in memory, white where nothing was drawn, and the control's size, which
// the test sets.
class FakePicture final : public WaterfallPicture {
public:
    ImageSurface& Surface() override { return *bitmap; }
    PictureSize Size() const override { return size; }
    void ResizeBitmap(int32_t width, int32_t height) override;
    void ShowScrolledColumn(PictureSize shown) override { columnsShown.push_back(shown); }

    std::unique_ptr<MemorySurface> bitmap = std::make_unique<MemorySurface>(0, 0);
    PictureSize size;
    std::vector<PictureSize> columnsShown;  // the size each column was shown at
};

class FakeShell final : public MainWindowShell {
public:
    void Attach(TFormMain* attached) override { form = attached; }
    void ShowAt(const WindowGeometry& client) override {
        Note("ShowAt");
        shownAt.push_back(client);
        geometry = client;
        visible = true;
    }
    WindowGeometry ClientGeometry() const override { return geometry; }
    void SetClientGeometry(const WindowGeometry& client) override {
        Note("SetClientGeometry");
        geometry = client;
    }
    bool IsMaximized() const override { return maximized; }
    void Maximize() override {
        Note("Maximize");
        maximized = true;
    }
    void MinimizeApplication() override { minimized = true; }
    // As the close box: the logic's close handler runs, and the window leaves the screen.
    void Close() override;
    void Hide() override { visible = false; }
    void SetChecked(MenuCommand command, bool on) override { checked[command] = on; }
    void SetEnabled(MenuCommand command, bool on) override { enabled[command] = on; }
    void MakeAboutDialog() override { ++aboutDialogsMade; }
    void ShowAbout() override { ++aboutShown; }
    PictureSize PanelSize() const override { return panel; }
    WaterfallPicture& Picture() override { return picture; }
    NotificationTarget Target() override { return this; }
    void DeliverPendingNotifications() override { Settle(); }

    // Where the fake device posts: queued for the event loop.
    void Post(const WaveInMessage& message) { pending.push_back(message); }
    // The event loop's turn: every queued notification, and each posted meanwhile, goes to the
    // logic in order; without one attached they go to the window's default handling (nowhere).
    void Settle();
    // The window changed size: PanelHz is now outer, ImageHz the inside of its one-pixel bevel,
    // and the logic hears of it.
    void ResizePanel(PictureSize outer);
    // A check mark never set is off.
    bool Checked(MenuCommand command) const {
        const auto it = checked.find(command);
        return it != checked.end() && it->second;
    }

    TFormMain* form = nullptr;
    bool visible = false;
    bool maximized = false;
    bool minimized = false;
    WindowGeometry geometry;              // the client area's place
    std::vector<WindowGeometry> shownAt;  // each ShowAt's place
    std::map<MenuCommand, bool> checked, enabled;
    int closeRequests = 0;
    int aboutDialogsMade = 0;
    int aboutShown = 0;
    PictureSize panel;
    FakePicture picture;
    std::deque<WaveInMessage> pending;
    // Told of each call that places the window (ShowAt, SetClientGeometry, Maximize) before it
    // does: the start-up's order.
    std::function<void(const std::string& call)> observe;

private:
    void Note(const char* call) {
        if (observe) observe(call);
    }
};

}  // namespace vireon::testing
