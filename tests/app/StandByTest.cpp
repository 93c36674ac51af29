// Stand by: capture stops, the item is checked, the application minimises; the next activation
// unchecks it and starts receiving, whether or not it was receiving before.
#include <gtest/gtest.h>

#include "tests/app/ShellHarness.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::ReceiveMenus;
using testing::ShellHarness;

TEST(StandByTest, WhileReceivingStopsMinimisesAndResumesOnActivation) {
    ShellHarness h;
    TFormMain& form = h.Open();
    ASSERT_TRUE(h.state->Capture.Receiving);
    EXPECT_FALSE(h.shell.Checked(MenuCommand::MenuStandBy));

    form.OnCommand(MenuCommand::MenuStandBy);
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);
    EXPECT_FALSE(h.state->Capture.Receiving);
    EXPECT_TRUE(h.shell.Checked(MenuCommand::MenuStandBy));
    EXPECT_TRUE(form.StandByHookInstalled());
    EXPECT_TRUE(h.shell.minimized);
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(false));
    h.Settle();
    EXPECT_EQ(h.audio.openDevices(), 0u);  // the drained device was closed

    form.OnActivated();
    EXPECT_FALSE(h.shell.Checked(MenuCommand::MenuStandBy));
    EXPECT_FALSE(form.StandByHookInstalled());
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_EQ(h.audio.queued(h.Device()), 10u);
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(true));

    // The hook is gone: later activations change nothing.
    form.OnActivated();
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(StandByTest, WhileNotReceivingStartsAllTheSameOnReturn) {
    ShellHarness h;
    h.audio.devices = 0;  // the start at opening fails
    TFormMain& form = h.Open();
    ASSERT_FALSE(h.state->Capture.Receiving);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0],
              (testing::ShownBox{"There are no recording devices!", "", MB_ICONEXCLAMATION}));
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(false));

    form.MenuStandByClick();
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 0);
    EXPECT_TRUE(h.shell.Checked(MenuCommand::MenuStandBy));

    h.audio.devices = 1;  // plugged in meanwhile
    form.OnActivated();
    EXPECT_FALSE(h.shell.Checked(MenuCommand::MenuStandBy));
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_EQ(h.shell.enabled, ReceiveMenus(true));
}

TEST(StandByTest, WithoutStandByNeitherActivationNorResumeStartsReceiving) {
    ShellHarness h;
    TFormMain& form = h.Open();
    form.OnCommand(MenuCommand::MenuStopReceive);
    h.Settle();
    form.OnActivated();
    form.StandByResume();  // without the check mark
    EXPECT_FALSE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 1);
}

TEST(StandByTest, TwiceInARowStillResumesOnce) {
    ShellHarness h;
    TFormMain& form = h.Open();
    form.MenuStandByClick();
    form.MenuStandByClick();
    h.Settle();
    form.OnActivated();
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_FALSE(form.StandByHookInstalled());
}

}  // namespace
}  // namespace vireon
