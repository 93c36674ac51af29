// From the main window's construction to its destruction: shown at the design place before
// anything is loaded, the loop runs only after a clean start, an error escaping the start is
// reported and ends the program, and the end saves once.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/StartUp.h"
#include "tests/app/ShellHarness.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::SettingsText;
using testing::ShellHarness;
using testing::ShownBox;

TEST(StartUpTest, ShownFirstThenLoadedAndReceivingThenPlaced) {
    ShellHarness h;
    h.folder.Write(SettingsFileName, SettingsText(100, 30, 800, 500, "off"));
    std::vector<std::string> steps;
    h.shell.observe = [&](const std::string& call) {
        steps.push_back(call + (h.state->Chain.FilterSin.TapCount > 0 ? " filters" : "") +
                        (h.state->Values.WindowTop == 100 ? " settings" : "") +
                        (h.audio.openDevices() > 0 ? " device" : "") +
                        (h.state->Capture.Receiving ? " receiving" : ""));
    };
    h.Open();
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps.front(), "ShowAt");
    EXPECT_EQ(steps.back(), "SetClientGeometry filters settings device receiving");
    EXPECT_EQ(h.shell.shownAt, std::vector<WindowGeometry>{DesignGeometry});
}

TEST(StartUpTest, RunsTheLoopWithBothWindowsAndSavesAtTheEnd) {
    ShellHarness h;
    int loops = 0;
    const int exitCode =
        RunProgram(*h.state, h.Services(), h.shell, h.folder.Path(), [&](TFormMain& form) {
            ++loops;
            EXPECT_TRUE(h.shell.visible);
            EXPECT_TRUE(h.state->Capture.Receiving);
            EXPECT_EQ(h.state->Chain.Decimator.Factor, 3);
            EXPECT_GT(h.state->Chain.FilterSin.TapCount, 0);
            EXPECT_EQ(h.state->Chain.FilterCos.TapCount, h.state->Chain.FilterSin.TapCount);
            EXPECT_EQ(h.state->Settings.FileName, h.folder.File("okaven.ini"));
            EXPECT_EQ(h.state->Settings.Count, 6);
            EXPECT_EQ(h.state->ProgramDirectory, h.folder.Path());
            EXPECT_EQ(h.shell.aboutDialogsMade, 1);  // made hidden
            EXPECT_EQ(h.shell.aboutShown, 0);
            form.OnCommand(MenuCommand::MenuExit);
            EXPECT_FALSE(h.folder.Exists(SettingsFileName));
        });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(loops, 1);
    EXPECT_EQ(h.folder.Settings().at("WindowMaximized"), "on");
    EXPECT_EQ(h.audio.openDevices(), 0u);
    EXPECT_TRUE(h.boxes.shown.empty());
    EXPECT_EQ(h.shell.form, nullptr);
}

TEST(StartUpTest, ABadCoefficientFileIsReportedAndTheLoopNeverRuns) {
    struct Case {
        const char* content;
        const char* report;
    };
    const Case cases[] = {
        {"NTaps=abc\r\n", "'abc' is not a valid integer value."},
        {"NTaps=3\r\n0.5\r\n", "List index out of bounds (2)"},
    };
    for (const Case& c : cases) {
        ShellHarness h;
        h.folder.Write(CoefficientFileName, c.content);
        bool looped = false;
        EXPECT_EQ(RunProgram(*h.state, h.Services(), h.shell, h.folder.Path(),
                             [&](TFormMain&) { looped = true; }),
                  0);
        // The half-built window is gone, the report alone, and its events go nowhere.
        EXPECT_FALSE(h.shell.visible);
        EXPECT_EQ(h.shell.form, nullptr);
        EXPECT_FALSE(looped);
        ASSERT_EQ(h.boxes.shown.size(), 1u) << c.content;
        EXPECT_EQ(h.boxes.shown[0], (ShownBox{c.report, ApplicationTitle, MB_ICONERROR}));
        // It failed before the settings were read and before receiving started: nothing of
        // the half-built window is saved and no device was opened.
        EXPECT_FALSE(h.folder.Exists(SettingsFileName));
        EXPECT_EQ(h.audio.calls(AudioCall::Open), 0);
    }
}

TEST(StartUpTest, ASaveThatFailsAtTheEndIsReportedNotSwallowed) {
    ShellHarness h;
    ASSERT_TRUE(std::filesystem::create_directory(h.folder.File("okaven.ini")));
    const int exitCode = RunProgram(*h.state, h.Services(), h.shell, h.folder.Path(),
                                    [&](TFormMain&) { h.shell.Close(); });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0], (ShownBox{"Cannot create file " + h.folder.File("okaven.ini") + ".",
                                          ApplicationTitle, MB_ICONERROR}));
}

TEST(StartUpTest, AnErrorEscapingTheLoopIsReportedAndTheWindowStillSaves) {
    ShellHarness h;
    EXPECT_EQ(RunProgram(*h.state, h.Services(), h.shell, h.folder.Path(),
                         [](TFormMain&) { throw std::runtime_error("broken loop"); }),
              0);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].text, "broken loop.");
    EXPECT_TRUE(h.folder.Exists(SettingsFileName));
    EXPECT_EQ(h.audio.openDevices(), 0u);  // the window let go of the device on its way out
}

// The session ends: no event loop will run again, so the device is let go of and the settings
// saved at once, and what follows (a second notice, the window's end) saves nothing more.
TEST(StartUpTest, TheEndOfTheSessionSavesAtOnceAndOnlyOnce) {
    ShellHarness h;
    TFormMain& form = h.Open();
    form.OnEndSession();
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);
    EXPECT_EQ(h.audio.openDevices(), 0u);
    EXPECT_EQ(h.state->Capture.BuffersOutstanding, 0);
    EXPECT_EQ(h.folder.Settings().at("WindowMaximized"), "on");

    std::filesystem::remove(h.folder.File(SettingsFileName));
    form.OnEndSession();
    h.Close();
    EXPECT_FALSE(h.folder.Exists(SettingsFileName));
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);
    EXPECT_TRUE(h.boxes.shown.empty());
}

}  // namespace
}  // namespace vireon
