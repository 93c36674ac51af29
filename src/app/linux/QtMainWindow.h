#pragma once
// The main window on Linux: Qt's widgets for the panel, the waterfall image and the menu, and
// the plumbing that hands their events to TFormMain, which does all the rest.
#include <QMainWindow>
#include <QMetaObject>
#include <map>

#include "app/MainWindowShell.h"

class QAction;
class QFrame;
class QMenu;
class QMenuBar;

namespace vireon {

class TFormAbout;
class WaterfallImage;

class QtMainWindow final : public QMainWindow, public MainWindowShell {
    Q_OBJECT
public:
    // Builds the window as laid out, hidden; TFormMain shows it.
    explicit QtMainWindow(QWidget* parent = nullptr);
    ~QtMainWindow() override;

    void Attach(TFormMain* form) override { form_ = form; }
    TFormMain* Form() const { return form_; }

    void ShowAt(const WindowGeometry& client) override;
    WindowGeometry ClientGeometry() const override;
    void SetClientGeometry(const WindowGeometry& client) override;
    bool IsMaximized() const override { return isMaximized(); }
    void Maximize() override { showMaximized(); }
    void MinimizeApplication() override { showMinimized(); }
    void Close() override { close(); }
    void Hide() override { hide(); }
    void SetChecked(MenuCommand command, bool checked) override;
    void SetEnabled(MenuCommand command, bool enabled) override;
    void MakeAboutDialog() override;
    void ShowAbout() override;
    PictureSize PanelSize() const override;
    WaterfallPicture& Picture() override;
    NotificationTarget Target() override { return static_cast<QObject*>(this); }
    void DeliverPendingNotifications() override;

    // The menu item of a command.
    QAction* Action(MenuCommand command) const;

    QFrame* PanelHz = nullptr;
    WaterfallImage* ImageHz = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* Inputvolume1 = nullptr;
    QAction* MenuStandBy = nullptr;
    QAction* MenuExit = nullptr;
    QAction* MenuStartReceive = nullptr;
    QAction* MenuStopReceive = nullptr;
    QAction* VEDUREDezadod1 = nullptr;
    QAction* About1 = nullptr;
    TFormAbout* FormAbout = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildMenu();

    TFormMain* form_ = nullptr;
    std::map<MenuCommand, QAction*> actions_;
    QMetaObject::Connection activation_;
};

}  // namespace vireon
