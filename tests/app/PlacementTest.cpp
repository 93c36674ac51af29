// The window's placement from one run to the next, through the settings file: the rules. What
// the place means on a real window is tests/gui/PlacementWindowTest's.
#include <gtest/gtest.h>

#include "tests/app/ShellHarness.h"

namespace vireon {
namespace {

using testing::SettingsText;
using testing::ShellHarness;

TEST(PlacementTest, FirstRunOpensMaximisedAndSavesZerosWhileMaximised) {
    ShellHarness h;
    h.Open();
    EXPECT_TRUE(h.shell.maximized);
    EXPECT_EQ(h.shell.geometry, DesignGeometry);  // what restoring it comes back to
    EXPECT_EQ(h.state->Values.WindowTop, 0);
    EXPECT_EQ(h.state->Values.WindowWidth, 0);
    h.Close();
    // No file before: exactly the six lines, in registration order.
    EXPECT_EQ(h.folder.SettingsLines(),
              (std::vector<std::string>{"BlockLenMultipler=1", "WindowTop=0", "WindowLeft=0",
                                        "WindowWidth=0", "WindowHeight=0", "WindowMaximized=on"}));
}

struct OpenCase {
    const char* name;
    int top, left, width, height;
    const char* maximized;
    WindowGeometry client;  // where the client area ends up
};

class PlacementOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(PlacementOpenTest, OpensWhereRemembered) {
    const OpenCase& c = GetParam();
    ShellHarness h;
    h.folder.Write(SettingsFileName, SettingsText(c.top, c.left, c.width, c.height, c.maximized));
    h.Open();
    EXPECT_EQ(h.shell.maximized, std::string(c.maximized) == "on");
    EXPECT_EQ(h.shell.geometry, c.client);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlacementOpenTest,
    ::testing::Values(OpenCase{"AllZeroIsTheDesign", 0, 0, 0, 0, "off", {52, 5, 615, 346}},
                      OpenCase{"TopZeroLeft200", 0, 200, 0, 0, "off", {52, 200, 615, 346}},
                      OpenCase{"AllGiven", 100, 30, 800, 500, "off", {100, 30, 800, 500}},
                      OpenCase{
                          "NegativePosition", -20, -300, 640, 400, "off", {-20, -300, 640, 400}},
                      // Maximised over the design place: nothing remembered is applied.
                      OpenCase{"Maximised", 100, 30, 800, 500, "on", {52, 5, 615, 346}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(PlacementTest, TheEndStoresThePlaceOnlyWhenNotMaximised) {
    const WindowGeometry moved{0, 60, 700, 400};  // by the user, to the screen's top edge
    for (const bool maximised : {false, true}) {
        ShellHarness h;
        h.folder.Write(SettingsFileName, SettingsText(0, 0, 0, 0, "off"));
        h.Open();
        h.shell.geometry = moved;
        h.shell.maximized = maximised;
        h.Close();
        // Maximised: the values the window opened with (zeros already turned into the design
        // ones). A top edge at 0 is stored as it is (and reopens at the design top).
        const WindowGeometry stored = maximised ? DesignGeometry : moved;
        const auto saved = h.folder.Settings();
        EXPECT_EQ(saved.at("WindowMaximized"), maximised ? "on" : "off");
        EXPECT_EQ(saved.at("WindowTop"), std::to_string(stored.Top)) << maximised;
        EXPECT_EQ(saved.at("WindowLeft"), std::to_string(stored.Left)) << maximised;
        EXPECT_EQ(saved.at("WindowWidth"), std::to_string(stored.Width)) << maximised;
        EXPECT_EQ(saved.at("WindowHeight"), std::to_string(stored.Height)) << maximised;
    }
}

TEST(PlacementTest, OtherLinesOfTheFileSurvive) {
    ShellHarness h;
    h.folder.Write(SettingsFileName,
                   "# mine\r\nwindowtop=77\r\nColour=blue\r\nWindowMaximized=off\r\n");
    h.Open();
    EXPECT_EQ(h.shell.geometry.Top, 77);  // keys match whatever their letter case
    h.Close();
    const auto lines = h.folder.SettingsLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "# mine");
    EXPECT_EQ(lines[1], "WindowTop=77");
    EXPECT_EQ(lines[2], "Colour=blue");
}

}  // namespace
}  // namespace vireon
