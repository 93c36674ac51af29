#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/About.h"
#include "app/AppText.h"
#include "app/HomePage.h"
#include "app/Placement.h"
#include "app/WaterfallImage.h"
#include "dsp/Waterfall.h"
#include "platform/RingImage.h"
#include "platform/audio/WaveInEvent.h"
#include "settings/FileLocations.h"

namespace vireon {

TFormMain::TFormMain(ProgramState& state, const MainWindowServices& services,
                     const std::string& programDirectory, const std::string& userFolder,
                     QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      services_(services),
      capture_{services.Audio, services.Boxes, *this, state.Values.BlockLenMultipler, this} {
    // The window as laid out, visible at its design place before anything else happens. The
    // place is the client area's: a frame's size is not known before the window is mapped.
    BuildLayout();
    BuildMenu();
    setGeometry(DesignGeometry.Left, DesignGeometry.Top, DesignGeometry.Width,
                DesignGeometry.Height);
    show();

    state_.ProgramDirectory = programDirectory;
    const FileLocations files =
        ChooseFileLocations(state_.ProgramDirectory, userFolder, SystemFolderProbe());
    SetUpChain(state_.Chain, files.Coefficients, services_.Boxes);

    // The settings file beside the program unless that cannot be written, then receiving and
    // the remembered placement.
    state_.Settings.FileName = files.Settings;
    if (files.SettingsInUserFolder) settingsFolderToMake_ = userFolder;
    RegisterSettings(state_.Settings, state_.Values);
    state_.Settings.Load();

    StartReceive();
    UpdateReceiveMenus();
    ApplyPlacement();
}

TFormMain::~TFormMain() {
    // A window that goes without having been closed still lets go of the device; the buffers a
    // stop handed back after the loop ended are processed and freed, and the device closed.
    services_.Report.Guard([this] { FormClose(); });
    DeliverPendingWaveIn(this);
    StorePlacementAndSave();
}

void TFormMain::StorePlacementAndSave() {
    StorePlacement(state_.Values, isMaximized(), ClientGeometry());
    // A destructor must not throw: a failed save is reported like any other error.
    services_.Report.Guard([this] {
        if (!settingsFolderToMake_.empty()) CreateFolders(settingsFolderToMake_);
        state_.Settings.Save();
    });
}

WindowGeometry TFormMain::ClientGeometry() const {
    // The client area, not the frame: it is what setGeometry places whether or not a window
    // manager has framed the window yet, so a stored place comes back exactly.
    const QRect client = geometry();
    return {client.y(), client.x(), client.width(), client.height()};
}

void TFormMain::BuildLayout() {
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

QAction* TFormMain::AddCommand(QMenu* menu, const char* name, const char* caption,
                               void (TFormMain::*handler)(), QKeySequence shortcut) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this,
            [this, handler] { services_.Report.Guard([this, handler] { (this->*handler)(); }); });
    return action;
}

void TFormMain::BuildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    MenuOpenPalette = MainMenu1->addMenu(QStringLiteral("&File"));
    MenuOpenPalette->setObjectName(QStringLiteral("MenuOpenPalette"));
    Inputvolume1 = AddCommand(MenuOpenPalette, "Inputvolume1", "Input volume",
                              &TFormMain::Inputvolume1Click, QKeySequence(Qt::CTRL | Qt::Key_V));
    MenuStandBy = AddCommand(MenuOpenPalette, "MenuStandBy", "&Stand by",
                             &TFormMain::MenuStandByClick, QKeySequence(Qt::CTRL | Qt::Key_B));
    MenuStandBy->setCheckable(true);
    Separator3 = MenuOpenPalette->addSeparator();
    Separator3->setObjectName(QStringLiteral("Separator3"));
    MenuExit = AddCommand(MenuOpenPalette, "MenuExit", "&Exit", &TFormMain::MenuExitClick);

    Receive1 = MainMenu1->addMenu(QStringLiteral("&Receive"));
    Receive1->setObjectName(QStringLiteral("Receive1"));
    MenuStartReceive =
        AddCommand(Receive1, "MenuStartReceive", "&Start", &TFormMain::MenuStartReceiveClick,
                   QKeySequence(Qt::CTRL | Qt::Key_R));
    MenuStopReceive =
        AddCommand(Receive1, "MenuStopReceive", "St&op", &TFormMain::MenuStopReceiveClick);

    N1 = MainMenu1->addMenu(QStringLiteral("&?"));
    N1->setObjectName(QStringLiteral("N1"));
    VEDUREDezadod1 =
        AddCommand(N1, "VEDUREDezadod1", "Author's Web site", &TFormMain::VEDUREDezadod1Click);
    N2 = N1->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    About1 = AddCommand(N1, "About1", "&About", &TFormMain::AboutClick);
}

void TFormMain::ApplyPlacement() {
    const PlacementToApply placement = ResolvePlacement(state_.Values, ClientGeometry());
    if (placement.Maximize) {
        showMaximized();
        return;
    }
    setGeometry(placement.Geometry.Left, placement.Geometry.Top, placement.Geometry.Width,
                placement.Geometry.Height);
}

// ---- Menu commands

void TFormMain::Inputvolume1Click() {
    // A menu command that does nothing at all would look broken: without either program, say
    // what to install.
    for (const std::string& program : {state_.VolumeCommand, std::string(VolumeControlAlternative)})
        if (services_.Launcher.Launch(program + VolumeControlRecordingArgs)) return;
    services_.Boxes.Show(NoVolumeControlText, "", MB_ICONEXCLAMATION);
}

void TFormMain::MenuStandByClick() {
    if (state_.Capture.Receiving) StopReceive();
    MenuStandBy->setChecked(true);
    disconnect(standByHook_);
    standByHook_ = connect(qApp, &QGuiApplication::applicationStateChanged, this,
                           [this](Qt::ApplicationState applicationState) {
                               if (applicationState != Qt::ApplicationActive) return;
                               services_.Report.Guard([this] { StandByResume(); });
                           });
    showMinimized();
}

void TFormMain::StandByResume() {
    if (!MenuStandBy->isChecked()) return;
    MenuStandBy->setChecked(false);
    disconnect(standByHook_);
    standByHook_ = {};
    StartReceive();
}

void TFormMain::MenuExitClick() {
    close();
}

void TFormMain::MenuStartReceiveClick() {
    StartReceive();
}

void TFormMain::MenuStopReceiveClick() {
    StopReceive();
}

void TFormMain::VEDUREDezadod1Click() {
    services_.Browser.Open(HomePageUrl(state_.ProgramDirectory));
}

void TFormMain::AboutClick() {
    if (about_ != nullptr) about_->exec();
}

// ---- Window events

bool TFormMain::event(QEvent* e) {
    if (e->type() == WaveInEvent::eventType()) {
        bool handled = true;  // a handler that failed half-way has still consumed the message
        services_.Report.Guard([&] {
            handled = DispatchWaveInMessage(state_.Capture, capture_,
                                            static_cast<WaveInEvent*>(e)->message());
        });
        if (handled) return true;
    }
    return QMainWindow::event(e);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* e) {
    // The panel follows the window's size; its resize is the window's, seen after the layout.
    if (watched == PanelHz && e->type() == QEvent::Resize)
        services_.Report.Guard([this] { FormResize(); });
    return QMainWindow::eventFilter(watched, e);
}

void TFormMain::closeEvent(QCloseEvent* e) {
    services_.Report.Guard([this] { FormClose(); });
    e->accept();
}

void TFormMain::FormResize() {
    // Height, then width, of the panel's outer size: two pixels more each way than ImageHz
    // (in screen pixels, two per side at a scale of two).
    const QSize outer = DevicePixels(*PanelHz);
    ImageHz->ResizeBitmap(outer.width(), outer.height());
}

void TFormMain::FormClose() {
    vireon::FormClose(state_.Capture, capture_);
}

// ---- Capture

void TFormMain::StartReceive() {
    vireon::StartReceive(state_.Capture, capture_);
}

void TFormMain::StopReceive() {
    vireon::StopReceive(state_.Capture, capture_);
}

void TFormMain::UpdateReceiveMenus() {
    MenuStartReceive->setEnabled(!state_.Capture.Receiving);
    MenuStopReceive->setEnabled(state_.Capture.Receiving);
}

// ---- Signal chain and waterfall

void TFormMain::ProcessSamples(const std::uint8_t* samples, std::int32_t count) {
    vireon::ProcessSamples(state_.Chain, samples, count, *this);
}

void TFormMain::DrawSpectrum(const float* values, std::int32_t count) {
    RingImageSurface surface(ImageHz->Pixels());
    const QSize size = ImageHz->DeviceSize();
    vireon::DrawSpectrum(state_.Renderer, surface, size.width(), size.height(), values, count);
    ImageHz->ShowScrolledColumn(size);
}

}  // namespace vireon
