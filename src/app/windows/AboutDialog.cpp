#include "app/windows/AboutDialog.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "app/AboutLayout.h"
#include "app/ErrorReport.h"
#include "app/windows/Dpi.h"
#include "platform/SystemError.h"
#include "platform/windows/WideText.h"

namespace vireon {
namespace {

constexpr DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// An empty dialog template in memory: no controls, no font of its own, the caption; the
// controls are made in pixels once the dialog exists.
std::vector<DWORD> DialogTemplate(const std::wstring& caption) {
    std::vector<DWORD> storage(
        (sizeof(DLGTEMPLATE) + (2 + caption.size() + 1) * sizeof(WORD)) / sizeof(DWORD) + 1);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(storage.data());
    dialog->style = DialogStyle;
    auto* words = reinterpret_cast<WORD*>(dialog + 1);
    *words++ = 0;  // no menu
    *words++ = 0;  // the dialog class
    for (const wchar_t c : caption) *words++ = static_cast<WORD>(c);
    *words = 0;
    return storage;
}

RECT Scaled(const about::Box& box, UINT dpi) {
    const int left = vireon::Scaled(box.Left, dpi), top = vireon::Scaled(box.Top, dpi);
    return {left, top, left + vireon::Scaled(box.Width, dpi),
            top + vireon::Scaled(box.Height, dpi)};
}

// The size text takes in font: on one line when width is 0, else wrapped within width.
RECT TextBounds(HWND window, HFONT font, const std::wstring& text, int width) {
    const HDC dc = ::GetDC(window);
    const HGDIOBJ before = ::SelectObject(dc, font);
    RECT bounds{0, 0, width, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                DT_CALCRECT | DT_NOPREFIX | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, before);
    ::ReleaseDC(window, dc);
    return bounds;
}

HWND MakeControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style,
                 const RECT& place, int id, HFONT font) {
    const HWND control = ::CreateWindowExW(
        0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (control == nullptr)
        throw std::runtime_error("Cannot create the About dialog: " +
                                 SystemErrorText(static_cast<int>(::GetLastError())));
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace

AboutDialog::AboutDialog(HINSTANCE instance, HWND owner, ErrorReport& report)
    : owner_(owner), report_(report) {
    const std::vector<DWORD> layout = DialogTemplate(Widen(about::Caption));
    dialog_ =
        ::CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(layout.data()),
                                     owner, Procedure, reinterpret_cast<LPARAM>(this));
    if (dialog_ == nullptr)
        throw std::runtime_error("Cannot create the About dialog: " +
                                 SystemErrorText(static_cast<int>(::GetLastError())));
}

AboutDialog::~AboutDialog() {
    if (dialog_ != nullptr) ::DestroyWindow(dialog_);
    for (const HFONT font : fonts_) ::DeleteObject(font);
}

HFONT AboutDialog::Font(int designPixels, bool bold, UINT dpi) {
    // A negative height is the characters' own height in pixels, as the layout gives it.
    const HFONT font =
        ::CreateFontW(-Scaled(designPixels, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                      FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, Widen(about::Typeface).c_str());
    fonts_.push_back(font);
    return font;
}

void AboutDialog::BuildControls(HWND dialog) {
    const UINT dpi = WindowDpi(dialog);
    // The client area at its place and size.
    RECT frame = Scaled(about::Place, dpi);
    const int left = frame.left, top = frame.top;
    AddFrame(frame, DialogStyle, false,
             static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
    ::SetWindowPos(dialog, nullptr, left, top, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    const HFONT plain = Font(11, false, dpi);
    // Button1 first: the first in the tab order, and the default button.
    MakeControl(dialog, L"BUTTON", Widen(about::ButtonCaption), WS_TABSTOP | BS_DEFPUSHBUTTON,
                Scaled(about::Button1, dpi), IDOK, plain);
    for (const about::Label& label : about::Labels) {
        const std::wstring text = Widen(label.Text);
        const HFONT font = label.PixelHeight == 11 && !label.Bold
                               ? plain
                               : Font(label.PixelHeight, label.Bold, dpi);
        RECT place = Scaled(label.Place, dpi);
        const bool oneLine = label.Place.Width == 0;  // as wide as its text
        const RECT needed = TextBounds(dialog, font, text, oneLine ? 0 : place.right - place.left);
        if (oneLine) place.right = place.left + needed.right;
        // As tall as its text needs where the typeface standing in for the layout's is wider.
        place.bottom = std::max(place.bottom, place.top + needed.bottom);
        MakeControl(dialog, L"STATIC", text, (oneLine ? SS_LEFTNOWORDWRAP : SS_LEFT) | SS_NOPREFIX,
                    place, -1, font);
    }
    // Bevel1: only its top line, an etched rule.
    RECT rule = Scaled(about::Bevel1, dpi);
    rule.bottom = rule.top + 2;
    MakeControl(dialog, L"STATIC", L"", SS_ETCHEDHORZ, rule, -1, plain);
}

void AboutDialog::ShowModal() {
    ended_ = false;
    ::EnableWindow(owner_, FALSE);
    ::ShowWindow(dialog_, SW_SHOW);
    ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog_, IDOK)),
                   TRUE);
    MSG message;
    while (!ended_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (::IsDialogMessageW(dialog_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // The owner first, so that it, not another program, becomes active again.
    ::EnableWindow(owner_, TRUE);
    ::ShowWindow(dialog_, SW_HIDE);
}

INT_PTR CALLBACK AboutDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<AboutDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    // Nothing may cross Windows' frames as an exception.
    try {
        switch (message) {
            case WM_INITDIALOG:
                self->BuildControls(dialog);
                return FALSE;  // the focus is set when the dialog shows
            case WM_COMMAND:
                // OK, Enter (IDOK), Escape and the close box (IDCANCEL).
                if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                    self->ended_ = true;
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
        self->report_.ShowCurrentException();
        return FALSE;
    }
}

}  // namespace vireon
