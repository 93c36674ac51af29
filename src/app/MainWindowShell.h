#pragma once
// What the main window's logic (TFormMain) needs of a platform's window: its place on the
// screen, its menu's check marks and enabled items, the About dialog, the waterfall picture and
// where the recording device posts its notifications. The Qt window (app/linux) and the Win32
// window (app/windows) implement it and hand their events to TFormMain; tests have a fake.
#include <cstdint>

#include "app/MenuLayout.h"
#include "app/Placement.h"
#include "platform/ImageSurface.h"
#include "platform/audio/AudioInput.h"

namespace vireon {

class TFormMain;

struct PictureSize {
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const PictureSize&) const = default;
};

// ImageHz: the image control that shows the waterfall bitmap unscaled from its top-left
// corner, one bitmap pixel per screen pixel.
class WaterfallPicture {
public:
    // The bitmap the renderer draws on; its pixels persist between columns.
    virtual ImageSurface& Surface() = 0;
    // The control's size in screen pixels: the size the renderer draws at.
    virtual PictureSize Size() const = 0;
    // Gives the bitmap a new size in screen pixels: existing pixels stay where they are from the
    // top-left corner, newly added area is white.
    virtual void ResizeBitmap(int32_t width, int32_t height) = 0;
    // The bitmap moved one pixel left and has a new column in its last two columns of the
    // control (of the given size): puts that on screen with as little drawing as it can.
    virtual void ShowScrolledColumn(PictureSize size) = 0;

protected:
    ~WaterfallPicture() = default;
};

class MainWindowShell {
public:
    // The logic the window hands its events to (menu commands, resizes, the close, activations,
    // device notifications); null while there is none. TFormMain attaches itself.
    virtual void Attach(TFormMain* form) = 0;

    // Shows the window with its client area at the given place (screen pixels).
    virtual void ShowAt(const WindowGeometry& client) = 0;
    // The client area's place, whatever frame the window system draws around it.
    virtual WindowGeometry ClientGeometry() const = 0;
    virtual void SetClientGeometry(const WindowGeometry& client) = 0;
    virtual bool IsMaximized() const = 0;
    virtual void Maximize() = 0;
    // Minimises the whole application to the task bar.
    virtual void MinimizeApplication() = 0;
    // Closes the window as its own close box does: TFormMain::FormClose runs, and the event
    // loop ends.
    virtual void Close() = 0;
    // Takes the window off the screen without closing it: a start-up that failed leaves only
    // the error report.
    virtual void Hide() = 0;

    virtual void SetChecked(MenuCommand command, bool checked) = 0;
    virtual void SetEnabled(MenuCommand command, bool enabled) = 0;
    // Makes the About dialog, hidden (once, after the window is built).
    virtual void MakeAboutDialog() = 0;
    // Shows the About dialog, modal; its result is not used.
    virtual void ShowAbout() = 0;

    // PanelHz's outer size in screen pixels: ImageHz's bitmap is given this size.
    virtual PictureSize PanelSize() const = 0;
    virtual WaterfallPicture& Picture() = 0;

    // Where the recording device posts its notifications: this window.
    virtual NotificationTarget Target() = 0;
    // Hands TFormMain, at once, every device notification still posted to this window: for the
    // end of the program, when the event loop no longer runs.
    virtual void DeliverPendingNotifications() = 0;

protected:
    ~MainWindowShell() = default;
};

}  // namespace vireon
