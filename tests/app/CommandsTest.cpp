// What each menu command does, and the Receive menu following the capture state.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/VolumeControl.h"
#include "tests/app/ShellHarness.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::ReceiveMenus;
using testing::ShellHarness;
using testing::ShownBox;

TEST(CommandsTest, ReceiveCommandsFollowTheCaptureState) {
    ShellHarness h;
    TFormMain& form = h.Open();
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(true));
    form.OnCommand(MenuCommand::MenuStopReceive);
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(false));
    h.Settle();
    form.OnCommand(MenuCommand::MenuStartReceive);
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(true));
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_EQ(h.audio.queued(h.Device()), 10u);
}

TEST(CommandsTest, InputVolumeStartsWhicheverControlIsInstalledOrSaysWhatToInstall) {
    const VolumeControl& volume = PlatformVolumeControl();
    const std::string first = std::string(volume.Program) + volume.RecordingArgs;
    struct Case {
        std::vector<std::string> missing, tried;
        bool box;
    };
    std::vector<Case> cases{{{}, {first}, false}};
    if (volume.Alternative != nullptr) {
        const std::string second = std::string(volume.Alternative) + volume.RecordingArgs;
        cases.push_back({{volume.Program}, {first, second}, false});
        cases.push_back({{volume.Program, volume.Alternative}, {first, second}, true});
    } else {
        cases.push_back({{volume.Program}, {first}, true});
    }
    for (const Case& c : cases) {
        ShellHarness h;
        h.Open();
        h.launcher.missing = c.missing;
        h.form->OnCommand(MenuCommand::Inputvolume1);
        EXPECT_EQ(h.launcher.launched, c.tried);
        const std::vector<ShownBox> box{{volume.MissingText, "", MB_ICONEXCLAMATION}};
        EXPECT_EQ(h.boxes.shown, c.box ? box : std::vector<ShownBox>{});
    }
}

TEST(CommandsTest, WebSiteOpensItsPage) {
    ShellHarness h;
    h.Open().OnCommand(MenuCommand::VEDUREDezadod1);
#ifdef VIREON_HOME_PAGE
    const std::string page = VIREON_HOME_PAGE;
#else
    // The README beside the program, as a file address ("file:///C:/..." on Windows).
    const std::string path = std::filesystem::path(h.folder.File("README.html")).generic_string();
    const std::string page = (path.front() == '/' ? "file://" : "file:///") + path;
#endif
    EXPECT_EQ(h.browser.opened, std::vector<std::string>{page});
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(CommandsTest, AboutShowsTheDialogAndChangesNothingElse) {
    ShellHarness h;
    TFormMain& form = h.Open();
    form.OnCommand(MenuCommand::About1);
    form.OnCommand(MenuCommand::About1);
    EXPECT_EQ(h.shell.aboutShown, 2);
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_TRUE(h.shell.visible);
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(CommandsTest, AnErrorInACommandIsReportedAndTheProgramGoesOn) {
    ShellHarness h;
    TFormMain& form = h.Open();
    h.launcher.fail = true;
    form.OnCommand(MenuCommand::Inputvolume1);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0], (ShownBox{"launch failed.", ApplicationTitle, MB_ICONERROR}));
    form.OnCommand(MenuCommand::VEDUREDezadod1);
    EXPECT_EQ(h.browser.opened.size(), 1u);
    EXPECT_TRUE(h.state->Capture.Receiving);
}

// Exit asks the window to close as its close box does: capture stops at once, the settings are
// saved only when the window goes, and the buffers the stop handed back are processed and
// freed then, and the device closed, though no event loop runs any more.
TEST(CommandsTest, ExitActsAsTheCloseBoxStoppingFirstAndSavingWhenTheWindowGoes) {
    const std::function<void(ShellHarness&)> closings[] = {
        [](ShellHarness& h) { h.form->OnCommand(MenuCommand::MenuExit); },
        [](ShellHarness& h) { h.shell.Close(); },
    };
    for (const auto& close : closings) {
        ShellHarness h;
        h.Open();
        ASSERT_TRUE(h.state->Capture.Receiving);
        close(h);
        EXPECT_EQ(h.shell.closeRequests, 1);
        EXPECT_FALSE(h.shell.visible);
        EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);
        EXPECT_FALSE(h.state->Capture.Receiving);
        EXPECT_FALSE(h.folder.Exists(SettingsFileName));

        h.Close();
        EXPECT_EQ(h.folder.Settings().size(), 6u);
        EXPECT_EQ(h.audio.openDevices(), 0u);
        EXPECT_EQ(h.state->Capture.BuffersOutstanding, 0);
    }
}

}  // namespace
}  // namespace vireon
