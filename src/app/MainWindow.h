#pragma once
// The main window: everything it does, written once for every platform. It owns no widget: a
// platform's window (MainWindowShell) shows the picture and the menu and hands its events here.
// Start-up (the constructor), the menu commands, stand-by, the remembered placement, the save at
// the end (the destructor), and the capture and signal-chain operations that run in the window.
#include <cstdint>
#include <string>

#include "app/ErrorReport.h"
#include "app/MainWindowShell.h"
#include "app/ProgramState.h"
#include "app/UrlOpener.h"
#include "app/capture/Capture.h"
#include "dsp/SignalChain.h"
#include "platform/ProgramLauncher.h"
#include "platform/audio/AudioInput.h"

namespace vireon {

// The services the window works through; all must outlive it.
struct MainWindowServices {
    MessageBoxService& Boxes;
    ProgramLauncher& Launcher;
    UrlOpener& Browser;
    AudioInput& Audio;
    ErrorReport& Report;
};

class TFormMain final : public CaptureHost, public FrameSink {
public:
    // Shows the window at its design place, loads the filters and the settings, starts receiving
    // and applies the remembered placement. Both folders end in a path separator; userFolder,
    // the user's own configuration folder, may be empty (the files then live beside the
    // program). An error that escapes (a malformed coefficient or settings file) leaves the
    // window unbuilt and is for the caller to report.
    TFormMain(ProgramState& state, const MainWindowServices& services, MainWindowShell& shell,
              const std::string& programDirectory, const std::string& userFolder = {});
    // Lets go of the device, stores the placement and saves the settings (unless EndSession
    // already did).
    ~TFormMain();
    TFormMain(const TFormMain&) = delete;
    TFormMain& operator=(const TFormMain&) = delete;

    // What the platform's window hands over. Whatever a handler throws is shown by the error
    // report, and the program goes on.
    void OnCommand(MenuCommand command);
    // The application became the active one.
    void OnActivated();
    // PanelHz changed its size.
    void OnResize();
    // The window is closing (its close box, Exit, the system asking the program to end).
    void OnClose();
    // A device notification; false for one that is not capture's, which goes on to the window's
    // default handling.
    bool OnWaveIn(const WaveInMessage& message);
    // The session ends and the process will not get to run its event loop again: stop, store
    // the placement and save now.
    void OnEndSession();

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
    bool StandByHookInstalled() const { return standByHook_; }
    // MenuStandBy's check mark.
    bool StandByChecked() const { return standByChecked_; }

    void FormResize();
    void FormClose();

    // Capture, forwarded to the capture module with this window's state.
    void StartReceive();
    void StopReceive();
    void UpdateReceiveMenus() override;

    // The signal chain and the waterfall, forwarded to the chain and the renderer.
    void ProcessSamples(const std::uint8_t* samples, std::int32_t count) override;
    void DrawSpectrum(const float* values, std::int32_t count) override;

private:
    void ApplyPlacement();
    void StorePlacementAndSave();
    void SetStandByChecked(bool checked);

    ProgramState& state_;
    MainWindowServices services_;
    MainWindowShell& shell_;
    CaptureContext capture_;
    std::string settingsFolderToMake_;  // the user's folder, when the settings go there
    bool standByChecked_ = false;
    bool standByHook_ = false;
    bool saved_ = false;
};

}  // namespace vireon
