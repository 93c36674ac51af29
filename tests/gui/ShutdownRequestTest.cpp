// SIGTERM or SIGINT at any moment ends the program as Exit does: during the start-up while a
// box waits for OK, or while the loop runs with a modal dialog open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>

#include "app/StartUp.h"
#include "app/linux/About.h"
#include "app/linux/ShutdownRequest.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::FakeMessageBoxes;
using testing::WindowHarness;

// Records the boxes and lets a test act while one is "open".
class BoxesThatAct final : public MessageBoxService {
public:
    void Show(const std::string& text, const std::string& caption, int32_t flags) override {
        shown.Show(text, caption, flags);
        if (onShow) onShow();
    }
    FakeMessageBoxes shown;
    std::function<void()> onShow;
};

TEST(ShutdownRequestTest, DuringStartUpTheRestIsNotWaitedForAndTheWindowClosesAtOnce) {
    WindowHarness h(testing::Coefficients::Missing);  // two boxes, then a third: no device
    h.audio.devices = 0;
    BoxesThatAct inner;
    ShutdownRequest shutdown(inner);
    inner.onShow = [&] { shutdown.Request(); };  // the signal comes while the first box waits
    ErrorReport report(shutdown, ApplicationTitle);
    const MainWindowServices services{shutdown, h.launcher, h.browser, h.audio, report};

    bool looped = false;
    QtMainWindow window;
    RunProgram(*h.state, services, window, h.folder.Path(), [&](TFormMain&) {
        shutdown.RunEventLoop(window);  // must not enter the loop: nothing would end it
        looped = true;
        EXPECT_FALSE(window.isVisible());
    });
    EXPECT_TRUE(looped);
    ASSERT_EQ(inner.shown.shown.size(), 1u);  // the later ones went to standard error
    EXPECT_EQ(inner.shown.shown[0].text, "Cannot load the filter " + h.folder.File("fir1.txt"));
    EXPECT_EQ(h.folder.Settings().at("WindowMaximized"), "on");
}

TEST(ShutdownRequestTest, WhileTheLoopRunsAModalDialogIsClosedAndTheProgramEnds) {
    WindowHarness h;
    ShutdownRequest shutdown(h.boxes);
    const MainWindowServices services{shutdown, h.launcher, h.browser, h.audio, h.report};
    bool aboutWasUp = false, timedOut = false;

    QtMainWindow window;
    RunProgram(*h.state, services, window, h.folder.Path(), [&](TFormMain& formMain) {
        QTimer::singleShot(0, &window, [&formMain] { formMain.AboutClick(); });
        QTimer::singleShot(100, &window, [&] {
            aboutWasUp = QApplication::activeModalWidget() == window.findChild<TFormAbout*>();
            shutdown.Request();
        });
        QTimer safety;
        QObject::connect(&safety, &QTimer::timeout, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        safety.start(10000);
        shutdown.RunEventLoop(window);
        EXPECT_FALSE(window.isVisible());
    });
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(aboutWasUp);
    EXPECT_TRUE(shutdown.Requested());
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);  // capture stopped as on close
    EXPECT_EQ(h.audio.openDevices(), 0u);
    EXPECT_TRUE(h.folder.Exists(SettingsFileName));
}

TEST(ShutdownRequestTest, BoxesAreShownUntilAnEndIsRequested) {
    FakeMessageBoxes inner;
    ShutdownRequest shutdown(inner);
    shutdown.Show("first", "", MB_ICONEXCLAMATION);
    shutdown.Request();
    shutdown.Show("second", "", MB_ICONEXCLAMATION);
    ASSERT_EQ(inner.shown.size(), 1u);
    EXPECT_EQ(inner.shown[0].text, "first");
}

}  // namespace
}  // namespace vireon
