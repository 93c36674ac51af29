// The Win32 window in this process, over the window's logic with faked services: what another
// process cannot see of it under Wine (the menu's state, the bitmap against the screen, the
// About dialog) and what the end-to-end test does not reach (a menu bar on two lines, the
// shortcuts' commands). Closing and the session's end are the end-to-end test's. Needs a screen
// (tests/windows/with-desktop).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AboutLayout.h"
#include "app/MainWindow.h"
#include "app/windows/MainMenu.h"
#include "app/windows/Win32MainWindow.h"
#include "dsp/Waterfall.h"
#include "tests/support/WindowServices.h"

namespace vireon::testing {
namespace {

// Hands the windows every message waiting, and those that come within the milliseconds.
void Pump(DWORD milliseconds = 0) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (milliseconds > 0) ::Sleep(10);
    } while (::GetTickCount64() < end);
}

struct Win32Harness : WindowServices {
    Win32Harness() : window(::GetModuleHandleW(nullptr), waveIn, report) {}
    // At the design place, not maximised as at a first start.
    TFormMain& Open() {
        folder.Write(SettingsFileName,
                     "WindowTop=52\r\nWindowLeft=5\r\nWindowWidth=615\r\nWindowHeight=346\r\n"
                     "WindowMaximized=off\r\n");
        form = std::make_unique<TFormMain>(*state, Services(), window, folder.Path());
        window.MakeAboutDialog();
        Pump();
        return *form;
    }
    UINT MenuState(MenuCommand command) const {
        return ::GetMenuState(window.Menu(), CommandId(command), MF_BYCOMMAND);
    }
    void Command(MenuCommand command) {
        ::SendMessageW(window.Handle(), WM_COMMAND, CommandId(command), 0);
    }

    WaveInAudioInput waveIn;  // the window translates wave-in messages; the logic has the fake
    Win32MainWindow window;
    std::unique_ptr<TFormMain> form;
};

std::wstring ItemTextAt(HMENU menu, int position) {
    wchar_t text[128] = L"";
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

TEST(Win32MainWindow, MenuFromTheLayoutAndItsShortcutsReachTheLogic) {
    Win32Harness h;
    h.Open();
    const HMENU bar = h.window.Menu();
    ASSERT_EQ(::GetMenuItemCount(bar), 3);
    EXPECT_EQ(ItemTextAt(bar, 0), L"&File");
    EXPECT_EQ(ItemTextAt(bar, 1), L"&Receive");
    EXPECT_EQ(ItemTextAt(bar, 2), L"&?");
    const std::vector<std::wstring> file = {L"Input volume\tCtrl+V", L"&Stand by\tCtrl+B", L"",
                                            L"&Exit"};
    const HMENU filePopup = ::GetSubMenu(bar, 0);
    ASSERT_EQ(::GetMenuItemCount(filePopup), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ItemTextAt(filePopup, i), file[i]);
    EXPECT_EQ(ItemTextAt(::GetSubMenu(bar, 1), 0), L"&Start\tCtrl+R");
    EXPECT_EQ(ItemTextAt(::GetSubMenu(bar, 2), 2), L"&About");

    // Each shortcut as the event loop passes it on, with Ctrl held.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    const auto press = [&](WPARAM key) {
        MSG message{};
        message.hwnd = h.window.Handle();
        message.message = WM_KEYDOWN;
        message.wParam = key;
        message.lParam = 1;
        return ::TranslateAcceleratorW(h.window.Handle(), h.window.Accelerators(), &message);
    };
    h.launcher.missing = {"control"};  // Input volume says so instead
    EXPECT_TRUE(press('V'));
    EXPECT_EQ(h.launcher.launched, std::vector<std::string>{"control mmsys.cpl,,1"});
    EXPECT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_TRUE(press('B'));
    EXPECT_TRUE(h.form->StandByChecked());
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    // The commands without a shortcut, by their menu numbers.
    h.Command(MenuCommand::VEDUREDezadod1);
    ASSERT_EQ(h.browser.opened.size(), 1u);
    EXPECT_NE(h.browser.opened[0].find("README.html"), std::string::npos);
}

TEST(Win32MainWindow, ReceiveMenusAndTheStandByCheckMarkFollowTheLogic) {
    Win32Harness h;
    h.Open();
    const auto grey = [&](MenuCommand c) { return (h.MenuState(c) & MF_GRAYED) != 0; };
    EXPECT_TRUE(grey(MenuCommand::MenuStartReceive));
    EXPECT_FALSE(grey(MenuCommand::MenuStopReceive));
    h.Command(MenuCommand::MenuStopReceive);
    EXPECT_FALSE(grey(MenuCommand::MenuStartReceive));
    EXPECT_TRUE(grey(MenuCommand::MenuStopReceive));
    h.Command(MenuCommand::MenuStartReceive);
    EXPECT_TRUE(grey(MenuCommand::MenuStartReceive));

    // Stand by: checked, the main window off the screen and the application minimised; the
    // application's return shows the main window and the activation ends stand-by.
    h.Command(MenuCommand::MenuStandBy);
    EXPECT_TRUE(h.MenuState(MenuCommand::MenuStandBy) & MF_CHECKED);
    EXPECT_FALSE(::IsWindowVisible(h.window.Handle()));
    EXPECT_TRUE(::IsIconic(h.window.ApplicationHandle()));
    EXPECT_TRUE(grey(MenuCommand::MenuStopReceive));
    ::ShowWindow(h.window.ApplicationHandle(), SW_RESTORE);
    EXPECT_TRUE(::IsWindowVisible(h.window.Handle()));
    for (int i = 0; i < 100 && h.form->StandByChecked(); ++i) Pump(20);
    EXPECT_FALSE(h.MenuState(MenuCommand::MenuStandBy) & MF_CHECKED);
    EXPECT_TRUE(grey(MenuCommand::MenuStartReceive));
}

TEST(Win32MainWindow, ClientAreaGoesWhereItIsPutAndTheLayoutFollows) {
    Win32Harness h;
    h.Open();
    // At 110 pixels the menu bar wraps onto a second line, which the frame must allow for.
    for (const WindowGeometry& place :
         {WindowGeometry{100, 200, 640, 360}, WindowGeometry{60, 40, 110, 200}, DesignGeometry}) {
        h.window.SetClientGeometry(place);
        EXPECT_EQ(h.window.ClientGeometry(), place) << place.Width << " x " << place.Height;
        const PictureSize panel = h.window.PanelSize();
        EXPECT_EQ(panel, (PictureSize{place.Width, place.Height}));
        EXPECT_EQ(h.window.Picture().Size(), (PictureSize{place.Width - 2, place.Height - 2}));
    }
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    h.window.SetClientGeometry({60, 40, 110, 200});
    ::GetMenuBarInfo(h.window.Handle(), OBJID_MENU, 0, &bar);
    EXPECT_GT(bar.rcBar.bottom - bar.rcBar.top, ::GetSystemMetrics(SM_CYMENU)) << "not wrapped";
    h.window.Maximize();
    EXPECT_TRUE(h.window.IsMaximized());
}

// The screen's pixels of the image, as 0xRRGGBB.
std::vector<uint32_t> ScreenPixels(HWND image, PictureSize size) {
    const HDC screen = ::GetDC(image);
    const HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.Width;
    info.bmiHeader.biHeight = -size.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ before = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, size.Width, size.Height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + size.Width * size.Height);
    for (uint32_t& p : pixels) p &= 0xffffff;
    ::SelectObject(memory, before);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(image, screen);
    return pixels;
}

TEST(Win32MainWindow, ScreenShowsTheBitmapAsColumnsScrollInAndTheWindowGrows) {
    Win32Harness h;
    TFormMain& form = h.Open();
    h.form->StopReceive();
    auto& image = static_cast<WaterfallImage&>(h.window.Picture());
    const auto check = [&](const char* when) {
        Pump();
        const PictureSize size = image.Size();
        const std::vector<uint32_t> shown = ScreenPixels(image.Handle(), size);
        int wrong = 0;
        for (int y = 0; y < size.Height; ++y)
            for (int x = 0; x < size.Width; ++x)
                wrong += shown[y * size.Width + x] != image.PixelAt(x, y);
        EXPECT_EQ(wrong, 0) << when;
    };
    // Columns of a different spectrum each, so that a column shown in the wrong place shows.
    std::vector<float> spectrum(256);
    const auto columns = [&](int count) {
        for (int k = 0; k < count; ++k) {
            for (int i = 0; i < 256; ++i) spectrum[i] = float((i * 7 + k * 13) % 97);
            form.DrawSpectrum(spectrum.data(), 256);
        }
    };
    Pump(300);  // shown and painted: from now on only what the columns draw changes
    columns(40);
    check("after 40 columns");
    // Wider and taller: the picture stays at the top left, the new area is white.
    const PictureSize before = image.Size();
    const uint32_t corner = image.PixelAt(before.Width - 1, before.Height - 1);
    h.window.SetClientGeometry({60, 40, 700, 400});
    Pump();
    EXPECT_EQ(image.PixelAt(before.Width - 1, before.Height - 1), corner);
    EXPECT_EQ(image.PixelAt(before.Width + 5, 0), 0xffffffu);
    EXPECT_EQ(image.PixelAt(0, before.Height + 5), 0xffffffu);
    check("after growing");
    columns(30);
    check("after 30 more columns");
}

TEST(Win32MainWindow, AboutDialogIsMadeHiddenFromTheLayoutAndShownModally) {
    Win32Harness h;
    h.Open();
    const HWND about = ::FindWindowW(nullptr, L"About OKAVEN Vireon");
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(::IsWindowVisible(about));
    EXPECT_EQ(::GetWindow(about, GW_OWNER), h.window.Handle());
    RECT client{};
    ::GetClientRect(about, &client);
    EXPECT_EQ(client.right, about::Place.Width);
    EXPECT_EQ(client.bottom, about::Place.Height);
    const HWND ok = ::GetWindow(about, GW_CHILD);  // first in the tab order
    ASSERT_EQ(::GetDlgCtrlID(ok), IDOK);
    EXPECT_EQ(::GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    const HWND label1 = ::GetWindow(ok, GW_HWNDNEXT);
    wchar_t text[64] = L"";
    ::GetWindowTextW(label1, text, 64);
    EXPECT_STREQ(text, L"OKAVEN Vireon");
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(label1, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    HWND rule = ok;
    for (HWND child = ok; child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) rule = child;
    EXPECT_EQ(::GetWindowLongW(rule, GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDHORZ);

    // While it is up the main window takes no input; Enter is OK and ends it.
    static bool ownerDisabled = false;
    static HWND pressed = nullptr;
    pressed = ok;
    ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        ownerDisabled = !::IsWindowEnabled(::GetWindow(::GetParent(pressed), GW_OWNER));
        ::PostMessageW(pressed, WM_KEYDOWN, VK_RETURN, 1);
    });
    h.Command(MenuCommand::About1);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_FALSE(::IsWindowVisible(about));
    EXPECT_TRUE(::IsWindowEnabled(h.window.Handle()));
}

}  // namespace
}  // namespace vireon::testing
