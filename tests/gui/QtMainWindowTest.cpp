// The Qt window's own part: its menu built from the layout, the plumbing that hands menu
// commands and the application's activation to the logic, the About dialog, and a failed start.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "app/StartUp.h"
#include "app/linux/About.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::WindowHarness;

TEST(QtMainWindowTest, MenuAsLaidOut) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    EXPECT_EQ(w.windowTitle(), "OKAVEN Vireon");

    struct Item {
        const char* name;
        const char* caption;  // empty: a separator
        QKeySequence shortcut;
    };
    struct Menu {
        const char* name;
        const char* caption;
        std::vector<Item> items;
    };
    const Menu menus[] = {
        {"MenuOpenPalette",
         "&File",
         {{"Inputvolume1", "Input volume", QKeySequence("Ctrl+V")},
          {"MenuStandBy", "&Stand by", QKeySequence("Ctrl+B")},
          {"Separator3", "", {}},
          {"MenuExit", "&Exit", {}}}},
        {"Receive1",
         "&Receive",
         {{"MenuStartReceive", "&Start", QKeySequence("Ctrl+R")},
          {"MenuStopReceive", "St&op", {}}}},
        {"N1",
         "&?",
         {{"VEDUREDezadod1", "Author's Web site", {}}, {"N2", "", {}}, {"About1", "&About", {}}}},
    };
    const QList<QAction*> top = w.MainMenu1->actions();
    ASSERT_EQ(top.size(), 3);
    for (int m = 0; m < 3; ++m) {
        QMenu* menu = top[m]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), menus[m].name);
        EXPECT_EQ(menu->title(), menus[m].caption);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(menus[m].items.size()));
        for (std::size_t i = 0; i < menus[m].items.size(); ++i) {
            const Item& expected = menus[m].items[i];
            QAction* action = items[static_cast<qsizetype>(i)];
            EXPECT_EQ(action->objectName(), expected.name);
            EXPECT_EQ(action->isSeparator(), *expected.caption == '\0') << expected.name;
            if (!action->isSeparator()) {
                EXPECT_EQ(action->text(), expected.caption);
            }
            EXPECT_EQ(action->shortcut(), expected.shortcut) << expected.name;
            EXPECT_EQ(action->isCheckable(), std::string(expected.name) == "MenuStandBy");
        }
    }
    EXPECT_EQ(w.findChild<QAction*>("MenuStandBy"), w.MenuStandBy);
}

// The items hand their commands to the logic, and what the logic sets shows on them.
TEST(QtMainWindowTest, MenuItemsReachTheLogicAndShowWhatItSets) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    WindowHarness::Settle();  // the platform activates the window, as a click on its menu implies
    EXPECT_FALSE(w.MenuStartReceive->isEnabled());
    EXPECT_TRUE(w.MenuStopReceive->isEnabled());
    EXPECT_FALSE(w.MenuStandBy->isChecked());

    w.MenuStandBy->trigger();
    EXPECT_TRUE(w.MenuStandBy->isChecked());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_TRUE(w.MenuStartReceive->isEnabled());
    EXPECT_FALSE(w.MenuStopReceive->isEnabled());
    WindowHarness::Settle();
    EXPECT_EQ(h.audio.openDevices(), 0u);  // the device's notifications came as the window's events

    w.MenuStartReceive->trigger();
    EXPECT_FALSE(w.MenuStartReceive->isEnabled());
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);

    // Exit closes the window itself, whose close handler stops receiving.
    w.MenuExit->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 2);
    EXPECT_FALSE(h.state->Capture.Receiving);
    // No loop turns any more: the window hands the stop's buffers over itself at the end.
    h.Close();
    EXPECT_EQ(h.audio.openDevices(), 0u);
}

void Activate(Qt::ApplicationState state) {
    // What the platform reports when the user brings the program back (or leaves it).
    emit qApp->applicationStateChanged(state);
    WindowHarness::Settle();
}

TEST(QtMainWindowTest, TheApplicationsActivationReachesTheLogic) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    WindowHarness::Settle();
    EXPECT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    h.form->MenuStandByClick();
    WindowHarness::Settle();

    Activate(Qt::ApplicationInactive);  // not an activation
    EXPECT_TRUE(w.MenuStandBy->isChecked());
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 1);

    Activate(Qt::ApplicationActive);
    EXPECT_FALSE(w.MenuStandBy->isChecked());
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
}

TEST(QtMainWindowTest, AFailedStartLeavesTheReportAlone) {
    WindowHarness h;
    h.folder.Write(CoefficientFileName, "NTaps=abc\r\n");
    QtMainWindow window;
    RunProgram(*h.state, h.Services(), window, h.folder.Path(), [](TFormMain&) {});
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(h.boxes.shown.size(), 1u);
}

TEST(QtMainWindowTest, AboutShowsTheSameDialogEveryTime) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    w.MakeAboutDialog();
    TFormAbout& about = *w.FormAbout;
    std::vector<QWidget*> shown;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            shown.push_back(QApplication::activeModalWidget());
            about.Button1->click();
        });
        w.About1->trigger();
        EXPECT_FALSE(about.isVisible());
    }
    EXPECT_EQ(shown, (std::vector<QWidget*>{&about, &about}));
    // Nothing else changed.
    EXPECT_TRUE(h.state->Capture.Receiving);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(h.boxes.shown.empty());
}

}  // namespace
}  // namespace vireon
