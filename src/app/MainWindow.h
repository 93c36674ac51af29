#pragma once
// The main window: the waterfall picture, the menu and its commands, stand-by, the remembered
// placement, and the capture and signal-chain operations that run in it.
#include <QKeySequence>
#include <QMainWindow>
#include <QMetaObject>
#include <cstdint>
#include <string>

#include "app/ErrorReport.h"
#include "app/ProgramState.h"
#include "app/UrlOpener.h"
#include "app/capture/Capture.h"
#include "dsp/SignalChain.h"
#include "platform/ProgramLauncher.h"
#include "platform/audio/AudioInput.h"

class QAction;
class QFrame;
class QMenu;
class QMenuBar;

namespace vireon {

class TFormAbout;
class WaterfallImage;
struct WindowGeometry;

// The services the window works through; all must outlive it.
struct MainWindowServices {
    MessageBoxService& Boxes;
    ProgramLauncher& Launcher;
    UrlOpener& Browser;
    AudioInput& Audio;
    ErrorReport& Report;
};

class TFormMain final : public QMainWindow, public CaptureHost, public FrameSink {
    Q_OBJECT
public:
    // Builds and shows the window, loads the filters and the settings, starts receiving and
    // applies the remembered placement. Both folders end in a path separator; userFolder, the
    // user's own configuration folder, may be empty (the files then live beside the program).
    TFormMain(ProgramState& state, const MainWindowServices& services,
              const std::string& programDirectory, const std::string& userFolder = {},
              QWidget* parent = nullptr);
    // Stores the placement and saves the settings.
    ~TFormMain() override;

    // The dialog the About command shows; made after the window.
    void SetAboutDialog(TFormAbout* about) { about_ = about; }

    // Menu commands.
    void Inputvolume1Click();
    void MenuStandByClick();
    void MenuExitClick();
    void MenuStartReceiveClick();
    void MenuStopReceiveClick();
    void VEDUREDezadod1Click();
    void AboutClick();
    // Leaves stand-by on the application's activation while it is installed as the hook.
    void StandByResume();
    bool StandByHookInstalled() const { return static_cast<bool>(standByHook_); }

    void FormResize();
    void FormClose();

    // Capture, forwarded to the capture module with this window's state.
    void StartReceive();
    void StopReceive();
    void UpdateReceiveMenus() override;

    // The signal chain and the waterfall, forwarded to the chain and the renderer.
    void ProcessSamples(const std::uint8_t* samples, std::int32_t count) override;
    void DrawSpectrum(const float* values, std::int32_t count) override;

    QFrame* PanelHz = nullptr;
    WaterfallImage* ImageHz = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* MenuOpenPalette = nullptr;
    QAction* Inputvolume1 = nullptr;
    QAction* MenuStandBy = nullptr;
    QAction* Separator3 = nullptr;
    QAction* MenuExit = nullptr;
    QMenu* Receive1 = nullptr;
    QAction* MenuStartReceive = nullptr;
    QAction* MenuStopReceive = nullptr;
    QMenu* N1 = nullptr;
    QAction* VEDUREDezadod1 = nullptr;
    QAction* N2 = nullptr;
    QAction* About1 = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildMenu();
    void ApplyPlacement();
    void StorePlacementAndSave();
    WindowGeometry ClientGeometry() const;
    QAction* AddCommand(QMenu* menu, const char* name, const char* caption,
                        void (TFormMain::*handler)(), QKeySequence shortcut = {});

    ProgramState& state_;
    MainWindowServices services_;
    CaptureContext capture_;
    std::string settingsFolderToMake_;  // the user's folder, when the settings go there
    TFormAbout* about_ = nullptr;
    QMetaObject::Connection standByHook_;
};

}  // namespace vireon
