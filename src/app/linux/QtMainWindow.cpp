#include "app/linux/QtMainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/AppText.h"
#include "app/MainWindow.h"
#include "app/linux/About.h"
#include "app/linux/WaterfallImage.h"
#include "platform/linux/audio/WaveInEvent.h"

namespace vireon {

QtMainWindow::QtMainWindow(QWidget* parent) : QMainWindow(parent) {
    BuildLayout();
    BuildMenu();
    // Every activation of the application goes to the window's logic, which resumes from
    // stand-by while its hook is installed.
    activation_ = connect(qApp, &QGuiApplication::applicationStateChanged, this,
                          [this](Qt::ApplicationState state) {
                              if (state == Qt::ApplicationActive && form_ != nullptr)
                                  form_->OnActivated();
                          });
}

QtMainWindow::~QtMainWindow() {
    disconnect(activation_);
}

void QtMainWindow::BuildLayout() {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QString::fromUtf8(MainWindowCaption));

    PanelHz = new QFrame(this);
    PanelHz->setObjectName(QStringLiteral("PanelHz"));
    PanelHz->setFrameStyle(QFrame::Panel | QFrame::Sunken);  // a lowered one-pixel bevel
    PanelHz->setLineWidth(1);
    PanelHz->installEventFilter(this);

    ImageHz = new WaterfallImage(PanelHz);
    ImageHz->setObjectName(QStringLiteral("ImageHz"));
    auto* fill = new QVBoxLayout(PanelHz);  // the image fills the panel inside its bevel
    fill->setContentsMargins(0, 0, 0, 0);
    fill->setSpacing(0);
    fill->addWidget(ImageHz);

    setCentralWidget(PanelHz);
}

void QtMainWindow::BuildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuLayout& layout : vireon::MainMenu1) {
        QMenu* menu = MainMenu1->addMenu(QString::fromUtf8(layout.Caption));
        menu->setObjectName(QString::fromUtf8(layout.Name));
        for (const MenuItemLayout& item : layout.Items) {
            QAction* action = item.Caption != nullptr
                                  ? menu->addAction(QString::fromUtf8(item.Caption))
                                  : menu->addSeparator();
            action->setObjectName(QString::fromUtf8(item.Name));
            if (item.Caption == nullptr) continue;
            if (item.Shortcut != 0)
                action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(item.Shortcut)));
            action->setCheckable(item.Checkable);
            const MenuCommand command = item.Command;
            connect(action, &QAction::triggered, this, [this, command] {
                if (form_ != nullptr) form_->OnCommand(command);
            });
            actions_[command] = action;
        }
    }
    Inputvolume1 = Action(MenuCommand::Inputvolume1);
    MenuStandBy = Action(MenuCommand::MenuStandBy);
    MenuExit = Action(MenuCommand::MenuExit);
    MenuStartReceive = Action(MenuCommand::MenuStartReceive);
    MenuStopReceive = Action(MenuCommand::MenuStopReceive);
    VEDUREDezadod1 = Action(MenuCommand::VEDUREDezadod1);
    About1 = Action(MenuCommand::About1);
}

QAction* QtMainWindow::Action(MenuCommand command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void QtMainWindow::ShowAt(const WindowGeometry& client) {
    SetClientGeometry(client);
    show();
}

WindowGeometry QtMainWindow::ClientGeometry() const {
    // The client area, not the frame: it is what setGeometry places whether or not a window
    // manager has framed the window yet, so a stored place comes back exactly.
    const QRect client = geometry();
    return {client.y(), client.x(), client.width(), client.height()};
}

void QtMainWindow::SetClientGeometry(const WindowGeometry& client) {
    setGeometry(client.Left, client.Top, client.Width, client.Height);
}

void QtMainWindow::SetChecked(MenuCommand command, bool checked) {
    if (QAction* action = Action(command)) action->setChecked(checked);
}

void QtMainWindow::SetEnabled(MenuCommand command, bool enabled) {
    if (QAction* action = Action(command)) action->setEnabled(enabled);
}

void QtMainWindow::MakeAboutDialog() {
    if (FormAbout == nullptr) FormAbout = new TFormAbout(this);
}

void QtMainWindow::ShowAbout() {
    if (FormAbout != nullptr) FormAbout->exec();
}

PictureSize QtMainWindow::PanelSize() const {
    const QSize outer = DevicePixels(*PanelHz);
    return {outer.width(), outer.height()};
}

WaterfallPicture& QtMainWindow::Picture() {
    return *ImageHz;
}

void QtMainWindow::DeliverPendingNotifications() {
    DeliverPendingWaveIn(Target());
}

bool QtMainWindow::event(QEvent* e) {
    if (e->type() == WaveInEvent::eventType() && form_ != nullptr &&
        form_->OnWaveIn(static_cast<WaveInEvent*>(e)->message()))
        return true;
    return QMainWindow::event(e);
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* e) {
    // The panel follows the window's size; its resize is the window's, seen after the layout.
    if (watched == PanelHz && e->type() == QEvent::Resize && form_ != nullptr) form_->OnResize();
    return QMainWindow::eventFilter(watched, e);
}

void QtMainWindow::closeEvent(QCloseEvent* e) {
    if (form_ != nullptr) form_->OnClose();
    e->accept();
}

}  // namespace vireon
