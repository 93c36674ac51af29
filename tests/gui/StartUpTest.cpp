// From the main window's construction to its destruction: the loop runs only after a clean
// start, an error escaping the start is reported and ends the program, and the end saves.
#include <gtest/gtest.h>

#include <QDir>

#include "app/StartUp.h"
#include "app/linux/About.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::ShownBox;
using testing::WindowHarness;

TEST(StartUpTest, RunsTheLoopWithBothWindowsAndSavesAtTheEnd) {
    WindowHarness h;
    int loops = 0;
    QtMainWindow window;
    const int exitCode =
        RunProgram(*h.state, h.Services(), window, h.folder.Path(), [&](TFormMain&) {
            ++loops;
            EXPECT_TRUE(window.isVisible());
            EXPECT_TRUE(h.state->Capture.Receiving);
            EXPECT_EQ(h.state->Chain.Decimator.Factor, 3);
            EXPECT_GT(h.state->Chain.FilterSin.TapCount, 0);
            EXPECT_EQ(h.state->Chain.FilterCos.TapCount, h.state->Chain.FilterSin.TapCount);
            EXPECT_EQ(h.state->Settings.FileName, h.folder.File("okaven.ini"));
            EXPECT_EQ(h.state->Settings.Count, 6);
            EXPECT_EQ(h.state->ProgramDirectory, h.folder.Path());
            auto* about = window.findChild<TFormAbout*>();
            ASSERT_NE(about, nullptr);
            EXPECT_FALSE(about->isVisible());
            window.MenuExit->trigger();
            EXPECT_FALSE(h.folder.Exists(SettingsFileName));
        });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(loops, 1);
    EXPECT_EQ(h.folder.Settings().at("WindowMaximized"), "on");
    EXPECT_EQ(h.audio.openDevices(), 0u);
    EXPECT_TRUE(h.boxes.shown.empty());
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
        WindowHarness h;
        h.folder.Write(CoefficientFileName, c.content);
        bool looped = false;
        QtMainWindow window;
        EXPECT_EQ(RunProgram(*h.state, h.Services(), window, h.folder.Path(),
                             [&](TFormMain&) { looped = true; }),
                  0);
        EXPECT_FALSE(window.isVisible());  // the half-built window is gone, the report alone
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
    WindowHarness h;
    ASSERT_TRUE(QDir(QString::fromStdString(h.folder.Path())).mkdir("okaven.ini"));
    QtMainWindow window;
    const int exitCode = RunProgram(*h.state, h.Services(), window, h.folder.Path(),
                                    [&](TFormMain&) { window.close(); });
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0], (ShownBox{"Cannot create file " + h.folder.File("okaven.ini") + ".",
                                          ApplicationTitle, MB_ICONERROR}));
}

TEST(StartUpTest, AnErrorEscapingTheLoopIsReportedAndTheWindowStillSaves) {
    WindowHarness h;
    QtMainWindow window;
    EXPECT_EQ(RunProgram(*h.state, h.Services(), window, h.folder.Path(),
                         [](TFormMain&) { throw std::runtime_error("broken loop"); }),
              0);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].text, "broken loop.");
    EXPECT_TRUE(h.folder.Exists(SettingsFileName));
    EXPECT_EQ(h.audio.openDevices(), 0u);  // the window let go of the device on its way out
}

}  // namespace
}  // namespace vireon
