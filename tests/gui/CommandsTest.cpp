// The menu as laid out and what each command does.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "app/VolumeControl.h"
#include "app/linux/About.h"
#include "tests/gui/GuiTestSupport.h"

namespace vireon {
namespace {

using testing::AudioCall;
using testing::ShownBox;
using testing::WindowHarness;

TEST(CommandsTest, MenuAsLaidOut) {
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

TEST(CommandsTest, ReceiveCommandsFollowTheCaptureState) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    EXPECT_FALSE(w.MenuStartReceive->isEnabled());
    EXPECT_TRUE(w.MenuStopReceive->isEnabled());
    w.MenuStopReceive->trigger();
    EXPECT_TRUE(w.MenuStartReceive->isEnabled());
    EXPECT_FALSE(w.MenuStopReceive->isEnabled());
    WindowHarness::Settle();
    w.MenuStartReceive->trigger();
    EXPECT_FALSE(w.MenuStartReceive->isEnabled());
    EXPECT_EQ(h.audio.calls(AudioCall::Open), 2);
    EXPECT_EQ(h.audio.queued(h.Device()), 10u);
}

TEST(CommandsTest, InputVolumeStartsWhicheverControlIsInstalledOrSaysWhatToInstall) {
    const std::string gtk = "pavucontrol --tab=4", qt = "pavucontrol-qt --tab=4";
    const struct {
        std::vector<std::string> missing, tried;
        bool box;
    } cases[] = {
        {{}, {gtk}, false},
        {{"pavucontrol"}, {gtk, qt}, false},
        {{"pavucontrol", "pavucontrol-qt"}, {gtk, qt}, true},
    };
    for (const auto& c : cases) {
        WindowHarness h;
        QtMainWindow& w = h.Open();
        h.launcher.missing = c.missing;
        w.Inputvolume1->trigger();
        EXPECT_EQ(h.launcher.launched, c.tried);
        const std::vector<ShownBox> box{
            {PlatformVolumeControl().MissingText, "", MB_ICONEXCLAMATION}};
        EXPECT_EQ(h.boxes.shown, c.box ? box : std::vector<ShownBox>{});
    }
}

TEST(CommandsTest, WebSiteOpensItsPage) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    w.VEDUREDezadod1->trigger();
#ifdef VIREON_HOME_PAGE
    const std::string page = VIREON_HOME_PAGE;
#else
    const std::string page = "file://" + h.folder.File("README.html");  // the README beside it
#endif
    EXPECT_EQ(h.browser.opened, std::vector<std::string>{page});
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(CommandsTest, AnErrorInACommandIsReportedAndTheProgramGoesOn) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    h.launcher.fail = true;
    w.Inputvolume1->trigger();
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0], (ShownBox{"launch failed.", ApplicationTitle, MB_ICONERROR}));
    w.VEDUREDezadod1->trigger();
    EXPECT_EQ(h.browser.opened.size(), 1u);
    EXPECT_TRUE(h.state->Capture.Receiving);
}

TEST(CommandsTest, ExitWhileReceivingStopsFirstAndSavesOnlyWhenTheWindowGoes) {
    WindowHarness h;
    QtMainWindow& w = h.Open();
    ASSERT_TRUE(h.state->Capture.Receiving);
    w.MenuExit->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(h.audio.calls(AudioCall::Reset), 1);
    EXPECT_FALSE(h.state->Capture.Receiving);
    EXPECT_FALSE(h.folder.Exists(SettingsFileName));  // not yet: the window still exists

    h.Close();
    EXPECT_TRUE(h.folder.Exists(SettingsFileName));
    EXPECT_EQ(h.folder.Settings().size(), 6u);
    // The buffers the stop handed back were processed and freed, and the device closed.
    EXPECT_EQ(h.audio.openDevices(), 0u);
    EXPECT_EQ(h.state->Capture.BuffersOutstanding, 0);
}

TEST(CommandsTest, ExitActsAsTheCloseButton) {
    WindowHarness viaMenu, viaClose;
    viaMenu.Open();
    viaMenu.form->MenuExitClick();
    viaClose.Open().close();
    for (WindowHarness* h : {&viaMenu, &viaClose}) {
        EXPECT_FALSE(h->window->isVisible());
        EXPECT_EQ(h->audio.calls(AudioCall::Reset), 1);
    }
}

TEST(CommandsTest, AboutShowsTheSameDialogEveryTime) {
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
