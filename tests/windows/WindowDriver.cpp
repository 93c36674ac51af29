// vireon-window-driver: looks at and works the windows of a running vireon.exe from another
// process in the same Wine prefix, for the end-to-end test (tests/windows/window-e2e).
//
//   vireon-window-driver COMMAND [ARGUMENT...] [COMMAND [ARGUMENT...]]...
//     wait-main SECONDS   until the main window is on the screen
//     wait-box SECONDS    until a message box of the program is up
//     state               the windows and any message boxes, one per line (another
//                         process's menu cannot be read under Wine)
//     ok                  presses OK on a message box of the program
//     command NAME        the menu command of the item named NAME in app/MenuLayout.h
//     close               closes the main window as its close box does
//     restore             restores the minimised application, as another program would
//     place LEFT TOP WIDTH HEIGHT
//                         moves and sizes the main window so that its client area is there
//
// Exit status 0, or 1 with a message when a command fails.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/MenuLayout.h"
#include "app/windows/MainMenu.h"
#include "platform/windows/WideText.h"

namespace {

using vireon::Narrow;
using vireon::Widen;

struct ProgramWindows {
    HWND Application = nullptr;
    HWND Main = nullptr;
};

ProgramWindows Find() {
    ProgramWindows found;
    found.Main = ::FindWindowW(L"TFormMain", nullptr);
    found.Application = ::FindWindowW(L"TApplication", nullptr);
    return found;
}

HWND Main() {
    const HWND main = Find().Main;
    if (main == nullptr) throw std::runtime_error("no main window");
    return main;
}

std::string Text(HWND window) {
    wchar_t text[1024] = L"";
    ::GetWindowTextW(window, text, 1024);
    return Narrow(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = L"";
    ::GetClassNameW(window, name, 256);
    return Narrow(name);
}

void Print(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\t')
            quoted += "\\t";
        else if (c == '\n')
            quoted += "\\n";
        else if (c == '\r')
            quoted += "\\r";
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

// A window's client area in screen pixels: "LEFT TOP WIDTH HEIGHT".
std::string ClientOnScreen(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return Rect(client);
}

// The program's visible message boxes (its dialogs of class #32770 but the About dialog).
std::vector<HWND> Boxes() {
    struct Search {
        DWORD Process;
        std::vector<HWND> Found;
    } search{0, {}};
    const HWND main = Find().Main;
    if (main == nullptr) return {};
    ::GetWindowThreadProcessId(main, &search.Process);
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == s.Process && ::IsWindowVisible(window) && ClassOf(window) == "#32770" &&
                Text(window).rfind("About ", 0) != 0)
                s.Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

void PrintBox(HWND box) {
    std::string text, icon = "none", buttons;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::string name = ClassOf(child);
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (name == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            RECT place{};
            ::GetWindowRect(child, &place);
            icon = Rect(place);
        } else if (name == "Static" && !Text(child).empty()) {
            text += Text(child);
        } else if (name == "Button" && ::IsWindowVisible(child)) {
            if (!buttons.empty()) buttons += ',';
            buttons += Text(child);
        }
    }
    Print("box caption=" + Quoted(Text(box)) + " text=" + Quoted(text) +
          " buttons=" + Quoted(buttons) + " icon=" + Quoted(icon));
}

void State() {
    const ProgramWindows windows = Find();
    if (windows.Application != nullptr) {
        Print("application visible=" + std::to_string(::IsWindowVisible(windows.Application) != 0) +
              " iconic=" + std::to_string(::IsIconic(windows.Application) != 0) +
              " title=" + Quoted(Text(windows.Application)));
    }
    if (windows.Main == nullptr) {
        Print("main none");
    } else {
        const HWND owner = ::GetWindow(windows.Main, GW_OWNER);
        Print("main visible=" + std::to_string(::IsWindowVisible(windows.Main) != 0) +
              " zoomed=" + std::to_string(::IsZoomed(windows.Main) != 0) +
              " enabled=" + std::to_string(::IsWindowEnabled(windows.Main) != 0) + " owner=" +
              (owner == windows.Application && owner != nullptr ? "application"
               : owner == nullptr                               ? "none"
                                                                : "other") +
              " caption=" + Quoted(Text(windows.Main)));
        Print("client " + ClientOnScreen(windows.Main));
        const HWND panel = ::FindWindowExW(windows.Main, nullptr, L"TPanel", nullptr);
        const HWND image = ::FindWindowExW(panel, nullptr, L"TImage", nullptr);
        if (panel != nullptr) {
            RECT outer{};
            ::GetWindowRect(panel, &outer);
            Print("panel " + Rect(outer) + " static-edge=" +
                  std::to_string((::GetWindowLongW(panel, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0));
        }
        if (image != nullptr) Print("image " + ClientOnScreen(image));
    }
    for (const HWND box : Boxes()) PrintBox(box);
}

// Runs until done() or the seconds have passed; false then.
template <typename Done>
bool WaitFor(double seconds, Done done) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (!done()) {
        if (::GetTickCount64() > end) return false;
        ::Sleep(50);
    }
    return true;
}

// The command number of the menu item of that name (another process's menu cannot be read
// under Wine).
UINT CommandNumber(const std::string& name) {
    for (const vireon::MenuLayout& menu : vireon::MainMenu1) {
        for (const vireon::MenuItemLayout& item : menu.Items) {
            if (item.Caption != nullptr && name == item.Name)
                return vireon::CommandId(item.Command);
        }
    }
    throw std::runtime_error("no menu item " + name);
}

int Run(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring command = argv[i];
        const auto argument = [&](int k) -> std::wstring {
            if (i + k >= argc) throw std::runtime_error("missing argument");
            return argv[i + k];
        };
        if (command == L"wait-main") {
            const double seconds = std::wcstod(argument(1).c_str(), nullptr);
            ++i;
            if (!WaitFor(seconds, [] {
                    const HWND main = Find().Main;
                    return main != nullptr && ::IsWindowVisible(main);
                }))
                throw std::runtime_error("the main window did not appear");
        } else if (command == L"wait-box") {
            const double seconds = std::wcstod(argument(1).c_str(), nullptr);
            ++i;
            if (!WaitFor(seconds, [] { return !Boxes().empty(); }))
                throw std::runtime_error("no message box appeared");
        } else if (command == L"state") {
            State();
        } else if (command == L"ok") {
            const std::vector<HWND> boxes = Boxes();
            if (boxes.empty()) throw std::runtime_error("no message box to answer");
            ::PostMessageW(boxes.front(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(boxes.front(), IDOK)));
            WaitFor(5, [&] { return !::IsWindow(boxes.front()); });
        } else if (command == L"command") {
            ::PostMessageW(Main(), WM_COMMAND, CommandNumber(Narrow(argument(1))), 0);
            ++i;
        } else if (command == L"close") {
            ::PostMessageW(Main(), WM_CLOSE, 0, 0);
        } else if (command == L"restore") {
            const HWND application = Find().Application;
            if (application == nullptr) throw std::runtime_error("no application window");
            ::ShowWindow(application, SW_RESTORE);
        } else if (command == L"place") {
            RECT want{std::stoi(argument(1)), std::stoi(argument(2)), 0, 0};
            want.right = want.left + std::stoi(argument(3));
            want.bottom = want.top + std::stoi(argument(4));
            i += 4;
            const HWND main = Main();
            ::AdjustWindowRectEx(&want, static_cast<DWORD>(::GetWindowLongW(main, GWL_STYLE)), TRUE,
                                 static_cast<DWORD>(::GetWindowLongW(main, GWL_EXSTYLE)));
            ::SetWindowPos(main, nullptr, want.left, want.top, want.right - want.left,
                           want.bottom - want.top, SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            throw std::runtime_error("unknown command " + Narrow(command));
        }
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF for the shell that reads them
    try {
        const int status = Run(argc, argv);
        std::fflush(stdout);
        return status;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "vireon-window-driver: %s\n", e.what());
        return 1;
    }
}
