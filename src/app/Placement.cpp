#include "app/Placement.h"

namespace vireon {

PlacementToApply ResolvePlacement(ProgramSettings& values, const WindowGeometry& current) {
    if (values.WindowMaximized) return {true, current};
    if (values.WindowTop == 0) values.WindowTop = current.Top;
    if (values.WindowLeft == 0) values.WindowLeft = current.Left;
    if (values.WindowWidth == 0) values.WindowWidth = current.Width;
    if (values.WindowHeight == 0) values.WindowHeight = current.Height;
    return {false, {values.WindowTop, values.WindowLeft, values.WindowWidth, values.WindowHeight}};
}

void StorePlacement(ProgramSettings& values, bool maximized, const WindowGeometry& current) {
    values.WindowMaximized = maximized;
    if (maximized) return;
    values.WindowTop = current.Top;
    values.WindowLeft = current.Left;
    values.WindowWidth = current.Width;
    values.WindowHeight = current.Height;
}

}  // namespace vireon
