// The placement on a real window: the place is the client area's (Qt's offscreen platform gives
// windows a frame, as a window manager would), and restoring comes back to the design place.
// The rules themselves are tests/app/PlacementTest's.
#include <gtest/gtest.h>

#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::WindowHarness;

std::string SettingsText(int top, int left, int width, int height, const char* maximized) {
    return "BlockLenMultipler=1\r\nWindowTop=" + std::to_string(top) +
           "\r\nWindowLeft=" + std::to_string(left) + "\r\nWindowWidth=" + std::to_string(width) +
           "\r\nWindowHeight=" + std::to_string(height) + "\r\nWindowMaximized=" + maximized +
           "\r\n";
}

TEST(PlacementWindowTest, FirstRunRestoredSavesTheDesignPlacement) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    EXPECT_TRUE(w.isMaximized());
    w.showNormal();
    WindowHarness::Settle();
    h.Close();
    const auto saved = h.folder.Settings();
    EXPECT_EQ(saved.at("WindowMaximized"), "off");
    EXPECT_EQ(saved.at("WindowTop"), "52");
    EXPECT_EQ(saved.at("WindowLeft"), "5");
    EXPECT_EQ(saved.at("WindowWidth"), "615");
    EXPECT_EQ(saved.at("WindowHeight"), "346");
}

struct OpenCase {
    const char* name;
    int top, left, width, height;
    QPoint position;  // of the client area: x = left, y = top
    QSize size;
};

class PlacementOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(PlacementOpenTest, OpensWhereRemembered) {
    const OpenCase& c = GetParam();
    WindowHarness h;
    h.folder.Write(SettingsFileName, SettingsText(c.top, c.left, c.width, c.height, "off"));
    QtMainWindow& w = h.Open();
    EXPECT_FALSE(w.isMaximized());
    EXPECT_EQ(w.geometry().topLeft(), c.position);
    EXPECT_EQ(w.size(), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacementOpenTest,
    ::testing::Values(OpenCase{"AllGiven", 100, 30, 800, 500, {30, 100}, {800, 500}},
                      OpenCase{"NegativePosition", -20, -300, 640, 400, {-300, -20}, {640, 400}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(PlacementWindowTest, ATopEdgeAtZeroIsSavedAsZeroAndReopensAtTheDesignTop) {
    WindowHarness first;
    first.folder.Write(SettingsFileName, SettingsText(100, 40, 700, 400, "off"));
    QtMainWindow& w = first.Open();
    w.setGeometry(40, 0, w.width(), w.height());
    first.Close();
    EXPECT_EQ(first.folder.Settings().at("WindowTop"), "0");
    EXPECT_EQ(first.folder.Settings().at("WindowLeft"), "40");

    WindowHarness second;
    second.folder.Write(SettingsFileName, first.folder.Read(SettingsFileName));
    EXPECT_EQ(second.Open().geometry().topLeft(), QPoint(40, 52));
}

}  // namespace
}  // namespace vireon
