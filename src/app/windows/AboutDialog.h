#pragma once
// The About dialog (TFormAbout) on Windows, built from the shared layout (app/AboutLayout.h):
// made once, hidden, and shown modally over its owner whenever asked; its result is not used.
#include <vector>

#include "platform/windows/WindowsApi.h"

namespace vireon {

class ErrorReport;

class AboutDialog {
public:
    // Builds the dialog and its controls, hidden; throws when Windows will not.
    AboutDialog(HINSTANCE instance, HWND owner, ErrorReport& report);
    ~AboutDialog();
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    HWND Handle() const { return dialog_; }
    // Shows the dialog with its owner disabled until OK, Enter, Escape or the close box; a
    // WM_QUIT that comes meanwhile ends it and is passed on.
    void ShowModal();

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void BuildControls(HWND dialog);
    HFONT Font(int designPixels, bool bold, UINT dpi);

    HWND owner_;
    ErrorReport& report_;
    HWND dialog_ = nullptr;
    std::vector<HFONT> fonts_;
    bool ended_ = false;
};

}  // namespace vireon
