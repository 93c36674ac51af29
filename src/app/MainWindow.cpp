#include "app/MainWindow.h"

#include "app/HomePage.h"
#include "app/VolumeControl.h"
#include "dsp/Waterfall.h"
#include "settings/FileLocations.h"

namespace vireon {

TFormMain::TFormMain(ProgramState& state, const MainWindowServices& services,
                     MainWindowShell& shell, const std::string& programDirectory,
                     const std::string& userFolder)
    : state_(state),
      services_(services),
      shell_(shell),
      capture_{services.Audio, services.Boxes, *this, state.Values.BlockLenMultipler,
               shell.Target()} {
    shell_.Attach(this);
    try {
        // The window as laid out, visible at its design place before anything else happens.
        // The place is the client area's: a frame's size is not known before the window shows.
        shell_.ShowAt(DesignGeometry);

        state_.ProgramDirectory = programDirectory;
        const FileLocations files =
            ChooseFileLocations(state_.ProgramDirectory, userFolder, SystemFolderProbe());
        SetUpChain(state_.Chain, files.Coefficients, services_.Boxes);

        // The settings file beside the program unless that cannot be written, then receiving
        // and the remembered placement.
        state_.Settings.FileName = files.Settings;
        if (files.SettingsInUserFolder) settingsFolderToMake_ = userFolder;
        RegisterSettings(state_.Settings, state_.Values);
        state_.Settings.Load();

        StartReceive();
        UpdateReceiveMenus();
        ApplyPlacement();
    } catch (...) {
        // Nothing of a half-built window is saved or shown, and its events go nowhere.
        shell_.Attach(nullptr);
        shell_.Hide();
        throw;
    }
}

TFormMain::~TFormMain() {
    if (!saved_) {
        // A window that goes without having been closed still lets go of the device; the
        // buffers a stop handed back after the loop ended are processed and freed, and the
        // device closed.
        services_.Report.Guard([this] { FormClose(); });
        shell_.DeliverPendingNotifications();
        StorePlacementAndSave();
    }
    shell_.Attach(nullptr);
}

void TFormMain::StorePlacementAndSave() {
    saved_ = true;
    StorePlacement(state_.Values, shell_.IsMaximized(), shell_.ClientGeometry());
    // A destructor must not throw: a failed save is reported like any other error.
    services_.Report.Guard([this] {
        if (!settingsFolderToMake_.empty()) CreateFolders(settingsFolderToMake_);
        state_.Settings.Save();
    });
}

void TFormMain::ApplyPlacement() {
    const PlacementToApply placement = ResolvePlacement(state_.Values, shell_.ClientGeometry());
    if (placement.Maximize) {
        shell_.Maximize();
        return;
    }
    shell_.SetClientGeometry(placement.Geometry);
}

// ---- What the platform's window hands over

void TFormMain::OnCommand(MenuCommand command) {
    services_.Report.Guard([this, command] {
        switch (command) {
            case MenuCommand::Inputvolume1:
                return Inputvolume1Click();
            case MenuCommand::MenuStandBy:
                return MenuStandByClick();
            case MenuCommand::MenuExit:
                return MenuExitClick();
            case MenuCommand::MenuStartReceive:
                return MenuStartReceiveClick();
            case MenuCommand::MenuStopReceive:
                return MenuStopReceiveClick();
            case MenuCommand::VEDUREDezadod1:
                return VEDUREDezadod1Click();
            case MenuCommand::About1:
                return AboutClick();
            case MenuCommand::None:
                return;
        }
    });
}

void TFormMain::OnActivated() {
    if (standByHook_) services_.Report.Guard([this] { StandByResume(); });
}

void TFormMain::OnResize() {
    services_.Report.Guard([this] { FormResize(); });
}

void TFormMain::OnClose() {
    services_.Report.Guard([this] { FormClose(); });
}

bool TFormMain::OnWaveIn(const WaveInMessage& message) {
    bool handled = true;  // a handler that failed half-way has still consumed the message
    services_.Report.Guard(
        [&] { handled = DispatchWaveInMessage(state_.Capture, capture_, message); });
    return handled;
}

void TFormMain::OnEndSession() {
    if (saved_) return;
    // As the destructor would, which then does nothing: the buffers the stop hands back are
    // processed and freed, and the device closed.
    OnClose();
    shell_.DeliverPendingNotifications();
    StorePlacementAndSave();
}

// ---- Menu commands

void TFormMain::Inputvolume1Click() {
    // A menu command that does nothing at all would look broken: when no volume control can be
    // started, say what to do.
    const VolumeControl& volume = PlatformVolumeControl();
    if (services_.Launcher.Launch(state_.VolumeCommand + volume.RecordingArgs)) return;
    if (volume.Alternative != nullptr &&
        services_.Launcher.Launch(std::string(volume.Alternative) + volume.RecordingArgs))
        return;
    services_.Boxes.Show(volume.MissingText, "", MB_ICONEXCLAMATION);
}

void TFormMain::MenuStandByClick() {
    if (state_.Capture.Receiving) StopReceive();
    SetStandByChecked(true);
    standByHook_ = true;
    shell_.MinimizeApplication();
}

void TFormMain::StandByResume() {
    if (!standByChecked_) return;
    SetStandByChecked(false);
    standByHook_ = false;
    StartReceive();
}

void TFormMain::SetStandByChecked(bool checked) {
    standByChecked_ = checked;
    shell_.SetChecked(MenuCommand::MenuStandBy, checked);
}

void TFormMain::MenuExitClick() {
    shell_.Close();
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
    shell_.ShowAbout();
}

// ---- Window events

void TFormMain::FormResize() {
    // Height, then width, of the panel's outer size: two pixels more each way than ImageHz
    // (in screen pixels, two per side at a scale of two).
    const PictureSize outer = shell_.PanelSize();
    shell_.Picture().ResizeBitmap(outer.Width, outer.Height);
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
    shell_.SetEnabled(MenuCommand::MenuStartReceive, !state_.Capture.Receiving);
    shell_.SetEnabled(MenuCommand::MenuStopReceive, state_.Capture.Receiving);
}

// ---- Signal chain and waterfall

void TFormMain::ProcessSamples(const std::uint8_t* samples, std::int32_t count) {
    vireon::ProcessSamples(state_.Chain, samples, count, *this);
}

void TFormMain::DrawSpectrum(const float* values, std::int32_t count) {
    WaterfallPicture& picture = shell_.Picture();
    const PictureSize size = picture.Size();
    vireon::DrawSpectrum(state_.Renderer, picture.Surface(), size.Width, size.Height, values,
                         count);
    picture.ShowScrolledColumn(size);
}

}  // namespace vireon
