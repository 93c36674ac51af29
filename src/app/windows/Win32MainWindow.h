#pragma once
// The main window on Windows, laid out as a VCL program's: a sizeless application window
// (TApplication) that carries the task-bar button under the application title and owns the main
// window (TFormMain), whose client area PanelHz fills, a lowered one-pixel bevel around ImageHz.
// The window procedures hand every event to TFormMain, which does all the rest.
#include <memory>

#include "app/MainWindowShell.h"
#include "app/windows/AboutDialog.h"
#include "app/windows/WaterfallImage.h"
#include "platform/windows/WaveInAudioInput.h"
#include "platform/windows/WindowsApi.h"

namespace vireon {

class ErrorReport;

class Win32MainWindow final : public MainWindowShell {
public:
    // Builds the windows, hidden (TFormMain shows them); device messages are translated by
    // audio, errors a handler lets through are shown by report. Throws when Windows will not
    // make the windows.
    Win32MainWindow(HINSTANCE instance, WaveInAudioInput& audio, ErrorReport& report);
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    HWND Handle() const { return main_; }
    HWND ApplicationHandle() const { return application_; }
    HMENU Menu() const { return menu_; }
    HACCEL Accelerators() const { return accelerators_; }

    // The event loop, until WM_QUIT: the menu's shortcuts, then the windows' messages.
    void RunMessageLoop();

    void Attach(TFormMain* form) override { form_ = form; }
    void ShowAt(const WindowGeometry& client) override;
    WindowGeometry ClientGeometry() const override;
    void SetClientGeometry(const WindowGeometry& client) override;
    bool IsMaximized() const override;
    void Maximize() override;
    // The main window leaves the screen and the application window goes to the task bar; the
    // main window comes back when the application window is restored.
    void MinimizeApplication() override;
    void Close() override;
    void Hide() override;
    void SetChecked(MenuCommand command, bool checked) override;
    void SetEnabled(MenuCommand command, bool enabled) override;
    void MakeAboutDialog() override;
    void ShowAbout() override;
    PictureSize PanelSize() const override;
    WaterfallPicture& Picture() override { return image_; }
    NotificationTarget Target() override { return main_; }
    void DeliverPendingNotifications() override;

private:
    using Handler = LRESULT (Win32MainWindow::*)(HWND, UINT, WPARAM, LPARAM);
    // The window procedure of one window: hands its messages to handle, and lets no exception
    // cross Windows' frames.
    template <Handler handle>
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnApplicationMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A device message for TFormMain; false when it is none, or TFormMain leaves it.
    bool DeliverWaveIn(UINT message, WPARAM wParam, LPARAM lParam);
    // PanelHz fills the client area, ImageHz the panel inside its bevel.
    void LayOut(int width, int height);
    void EndLoop();

    HINSTANCE instance_;
    WaveInAudioInput& audio_;
    ErrorReport& report_;
    TFormMain* form_ = nullptr;
    HWND application_ = nullptr;
    HWND main_ = nullptr;
    HWND panel_ = nullptr;
    HMENU menu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    WaterfallImage image_;
    std::unique_ptr<AboutDialog> about_;
    bool standingBy_ = false;  // minimised by MinimizeApplication, not yet restored
};

}  // namespace vireon
