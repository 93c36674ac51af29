// Stand by: capture stops, the item is checked, the application minimises; the next activation
// unchecks it and starts receiving, whether or not it was receiving before.
#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>

#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::WindowHarness;

void Activate(Qt::ApplicationState state) {
    // What the platform reports when the user brings the program back (or leaves it).
    emit qApp->applicationStateChanged(state);
    WindowHarness::Settle();
}

// Opens the window and lets the platform activate it, as the user's click on the menu implies.
QtMainWindow& OpenActive(WindowHarness& h) {
    QtMainWindow& w = h.Open();
    WindowHarness::Settle();
    EXPECT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    return w;
}

void ExpectReceivingMenus(const QtMainWindow& w, bool receiving) {
    EXPECT_EQ(w.MenuStartReceive->isEnabled(), !receiving);
    EXPECT_EQ(w.MenuStopReceive->isEnabled(), receiving);
}

TEST(StandByTest, WhileReceivingStopsMinimisesAndResumesOnActivation) {
    WindowHarness h;
    QtMainWindow& w = OpenActive(h);
    ASSERT_TRUE(h.state->Capture.Receiving);
    EXPECT_FALSE(w.MenuStandBy->isChecked());
    EXPECT_TRUE(w.MenuStandBy->isCheckable());

    w.MenuStandBy->trigger();
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);
    EXPECT_FALSE(h.state->Capture.Receiving);
    EXPECT_TRUE(w.MenuStandBy->isChecked());
    EXPECT_TRUE(h.form->StandByHookInstalled());
    EXPECT_TRUE(w.isMinimized());
    ExpectReceivingMenus(w, false);
    WindowHarness::Settle();
    EXPECT_EQ(h.audio.openDevices(), 0u);  // the drained device was closed

    Activate(Qt::ApplicationInactive);  // not an activation
    EXPECT_TRUE(w.MenuStandBy->isChecked());
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 1);

    Activate(Qt::ApplicationActive);
    EXPECT_FALSE(w.MenuStandBy->isChecked());
    EXPECT_FALSE(h.form->StandByHookInstalled());
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_EQ(h.audio.queued(h.Device()), 10u);
    ExpectReceivingMenus(w, true);

    // The hook is gone: later activations change nothing.
    Activate(Qt::ApplicationActive);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(StandByTest, WhileNotReceivingStartsAllTheSameOnReturn) {
    WindowHarness h;
    h.audio.devices = 0;  // the start at opening fails
    QtMainWindow& w = OpenActive(h);
    ASSERT_FALSE(h.state->Capture.Receiving);
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0],
              (testing::ShownBox{"There are no recording devices!", "", MB_ICONEXCLAMATION}));
    ExpectReceivingMenus(w, false);

    h.form->MenuStandByClick();
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 0);
    EXPECT_TRUE(w.MenuStandBy->isChecked());

    h.audio.devices = 1;  // plugged in meanwhile
    Activate(Qt::ApplicationActive);
    EXPECT_FALSE(w.MenuStandBy->isChecked());
    EXPECT_TRUE(h.state->Capture.Receiving);
    ExpectReceivingMenus(w, true);
}

TEST(StandByTest, ResumeWithoutTheCheckMarkDoesNothing) {
    WindowHarness h;
    QtMainWindow& w = OpenActive(h);
    w.MenuStopReceive->trigger();
    WindowHarness::Settle();
    h.form->StandByResume();
    EXPECT_FALSE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 1);
}

TEST(StandByTest, TwiceInARowStillResumesOnce) {
    WindowHarness h;
    QtMainWindow& w = OpenActive(h);
    h.form->MenuStandByClick();
    h.form->MenuStandByClick();
    WindowHarness::Settle();
    Activate(Qt::ApplicationActive);
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_FALSE(h.form->StandByHookInstalled());
}

}  // namespace
}  // namespace vireon
