#pragma once
// The main window's remembered placement: what is applied at start-up and what is stored at
// the end. Kept apart from the window so the rules can be checked without one.
#include <cstdint>

#include "app/ProgramState.h"

namespace vireon {

// Top-left and size of the window's client area, in screen pixels. Without a window manager
// that is the whole window; with one, the frame lies around it.
struct WindowGeometry {
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const WindowGeometry&) const = default;
};

// The window as laid out: left 5, top 52, 615 x 346.
inline constexpr WindowGeometry DesignGeometry{52, 5, 615, 346};

// Not maximised: each remembered value that is 0 takes the window's current one (so 0 always
// means the design value), and the result is what the window gets. Values are used as they
// come, negative ones included. Maximised: nothing is changed and nothing is returned.
struct PlacementToApply {
    bool Maximize = false;
    WindowGeometry Geometry;
};
PlacementToApply ResolvePlacement(ProgramSettings& values, const WindowGeometry& current);

// At the end: the maximised flag always; the four values only when the window is not maximised.
void StorePlacement(ProgramSettings& values, bool maximized, const WindowGeometry& current);

}  // namespace vireon
