#include "app/windows/Win32MainWindow.h"

#include <stdexcept>
#include <string>

#include "app/AppText.h"
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/windows/Dpi.h"
#include "app/windows/MainMenu.h"
#include "platform/SystemError.h"
#include "platform/windows/WideText.h"

namespace vireon {
namespace {

constexpr const wchar_t* ApplicationClass = L"TApplication";
constexpr const wchar_t* MainClass = L"TFormMain";
constexpr const wchar_t* PanelClass = L"TPanel";
// As VCL makes its application window: a caption, a system menu and a minimise box, so that the
// task bar and Alt+Tab offer it, but no size, so that it is never seen.
constexpr DWORD ApplicationStyle =
    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD MainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD MainExStyle = 0;

[[noreturn]] void CannotCreate(const char* what) {
    throw std::runtime_error(std::string("Cannot create ") + what + ": " +
                             SystemErrorText(static_cast<int>(::GetLastError())));
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    // The program's icon is resource 1 (packaging/windows/resource-ids.h) when the build gives
    // the program one; the small one drawn at its own size rather than shrunk.
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                     ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (windowClass.hIcon == nullptr) windowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);  // fails harmlessly for a second window
}

// The window object a window procedure belongs to, kept with the window from its first message.
Win32MainWindow* Owner(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, WaveInAudioInput& audio, ErrorReport& report)
    : instance_(instance), audio_(audio), report_(report) {
    const auto face = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    Register(instance, ApplicationClass, Procedure<&Win32MainWindow::OnApplicationMessage>,
             nullptr);
    Register(instance, MainClass, Procedure<&Win32MainWindow::OnMainMessage>, face);
    Register(instance, PanelClass, ::DefWindowProcW, face);

    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    application_ = ::CreateWindowExW(0, ApplicationClass, Widen(ApplicationTitle).c_str(),
                                     ApplicationStyle, screenWidth / 2, screenHeight / 2, 0, 0,
                                     nullptr, nullptr, instance, this);
    if (application_ == nullptr) CannotCreate("the application window");
    menu_ = BuildMainMenu();
    accelerators_ = BuildAccelerators();
    // Owned by the application window: no task-bar button of its own.
    main_ = ::CreateWindowExW(MainExStyle, MainClass, Widen(MainWindowCaption).c_str(), MainStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              application_, menu_, instance, this);
    if (main_ == nullptr) {
        ::DestroyMenu(menu_);
        CannotCreate("the main window");
    }
    panel_ = ::CreateWindowExW(WS_EX_STATICEDGE, PanelClass, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, main_, nullptr,
                               instance, nullptr);
    if (panel_ == nullptr) CannotCreate("the main window's panel");
    image_.Create(instance, panel_);
    RECT client{};
    ::GetClientRect(main_, &client);
    LayOut(client.right, client.bottom);
}

Win32MainWindow::~Win32MainWindow() {
    about_.reset();
    // The main window takes its menu and children along; the application window goes last.
    if (main_ != nullptr) ::DestroyWindow(main_);
    if (application_ != nullptr) ::DestroyWindow(application_);
    if (accelerators_ != nullptr) ::DestroyAcceleratorTable(accelerators_);
}

void Win32MainWindow::RunMessageLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (::TranslateAcceleratorW(main_, accelerators_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// ---- Placement

void Win32MainWindow::ShowAt(const WindowGeometry& client) {
    SetClientGeometry(client);
    if (!::IsWindowVisible(application_)) ::ShowWindow(application_, SW_SHOWNOACTIVATE);
    ::ShowWindow(main_, SW_SHOW);
    ::UpdateWindow(main_);
}

WindowGeometry Win32MainWindow::ClientGeometry() const {
    RECT client{};
    ::GetClientRect(main_, &client);
    POINT origin{0, 0};
    ::ClientToScreen(main_, &origin);
    return {origin.y, origin.x, client.right, client.bottom};
}

void Win32MainWindow::SetClientGeometry(const WindowGeometry& client) {
    RECT frame{client.Left, client.Top, client.Left + client.Width, client.Top + client.Height};
    AddFrame(frame, MainStyle, true, MainExStyle, WindowDpi(main_));
    ::SetWindowPos(main_, nullptr, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps onto a second line takes more than the frame allowed for: the
    // difference, once more.
    const WindowGeometry now = ClientGeometry();
    if (now == client) return;
    ::SetWindowPos(
        main_, nullptr, frame.left + client.Left - now.Left, frame.top + client.Top - now.Top,
        frame.right - frame.left + client.Width - now.Width,
        frame.bottom - frame.top + client.Height - now.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32MainWindow::IsMaximized() const {
    return ::IsZoomed(main_) != FALSE;
}

void Win32MainWindow::Maximize() {
    ::ShowWindow(main_, SW_MAXIMIZE);
}

void Win32MainWindow::MinimizeApplication() {
    standingBy_ = true;
    ::ShowWindow(main_, SW_HIDE);
    ::ShowWindow(application_, SW_MINIMIZE);
    // Windows hands the activation to the next program's window. With none to take it (Wine
    // with no other program), the minimised application lets go of it itself, so that its
    // return activates it again (WM_ACTIVATEAPP), which ends stand-by.
    if (::GetActiveWindow() == application_) ::SetActiveWindow(nullptr);
}

void Win32MainWindow::Close() {
    ::SendMessageW(main_, WM_CLOSE, 0, 0);
}

void Win32MainWindow::Hide() {
    standingBy_ = false;
    ::ShowWindow(main_, SW_HIDE);
    ::ShowWindow(application_, SW_HIDE);
}

// ---- Menu, About, picture

void Win32MainWindow::SetChecked(MenuCommand command, bool checked) {
    ::CheckMenuItem(menu_, CommandId(command),
                    MF_BYCOMMAND | static_cast<UINT>(checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32MainWindow::SetEnabled(MenuCommand command, bool enabled) {
    ::EnableMenuItem(menu_, CommandId(command),
                     MF_BYCOMMAND | static_cast<UINT>(enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32MainWindow::MakeAboutDialog() {
    if (about_ == nullptr) about_ = std::make_unique<AboutDialog>(instance_, main_, report_);
}

void Win32MainWindow::ShowAbout() {
    if (about_ != nullptr) about_->ShowModal();
}

PictureSize Win32MainWindow::PanelSize() const {
    RECT outer{};
    ::GetWindowRect(panel_, &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Win32MainWindow::LayOut(int width, int height) {
    if (panel_ == nullptr) return;  // the main window's first WM_SIZE comes before its children
    ::MoveWindow(panel_, 0, 0, width, height, TRUE);
    RECT inside{};
    ::GetClientRect(panel_, &inside);  // the panel less its bevel on every side
    ::MoveWindow(image_.Handle(), 0, 0, inside.right, inside.bottom, TRUE);
}

// ---- Device messages and the end

bool Win32MainWindow::DeliverWaveIn(UINT message, WPARAM wParam, LPARAM lParam) {
    WaveInMessage translated;
    if (!audio_.Translate(message, wParam, lParam, translated)) return false;
    return form_ != nullptr && form_->OnWaveIn(translated);
}

void Win32MainWindow::DeliverPendingNotifications() {
    MSG message;
    while (::PeekMessageW(&message, main_, MM_WIM_OPEN, MM_WIM_DATA, PM_REMOVE))
        DeliverWaveIn(message.message, message.wParam, message.lParam);
}

void Win32MainWindow::EndLoop() {
    // Off the screen at once; the windows themselves stay until TFormMain has read its
    // placement.
    Hide();
    ::PostQuitMessage(0);
}

// ---- Window procedures

template <Win32MainWindow::Handler handle>
LRESULT CALLBACK Win32MainWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    Win32MainWindow* self = Owner(window, message, lParam);
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        return (self->*handle)(window, message, wParam, lParam);
    } catch (...) {
        self->report_.ShowCurrentException();
        return 0;
    }
}

LRESULT Win32MainWindow::OnApplicationMessage(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            // The task bar's minimise takes the main window along.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                MinimizeApplication();
                return 0;
            }
            break;
        case WM_SIZE:
            // Restored from the task bar, by Alt+Tab or by another program: the main window
            // comes back as it was, in front, and the activation that follows ends stand-by.
            if (wParam == SIZE_RESTORED && standingBy_) {
                standingBy_ = false;
                ::ShowWindow(main_, SW_SHOW);
                ::SetForegroundWindow(main_);
            }
            return 0;
        case WM_ACTIVATE:
            // Activated through the task bar or Alt+Tab: the main window, or the box or dialog
            // in front of it, takes over.
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0 && ::IsWindowVisible(main_))
                ::SetActiveWindow(::GetLastActivePopup(main_));
            return 0;
        case WM_CLOSE:
            // Closing the task-bar button closes the program.
            ::SendMessageW(main_, WM_CLOSE, 0, 0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32MainWindow::OnMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) return 0;
            LayOut(LOWORD(lParam), HIWORD(lParam));
            if (form_ != nullptr) form_->OnResize();
            return 0;
        case WM_COMMAND:
            // From the menu (0) or a shortcut (1), not from a control.
            if (lParam == 0 && HIWORD(wParam) <= 1) {
                const MenuCommand command = CommandOf(LOWORD(wParam));
                if (command != MenuCommand::None && form_ != nullptr) form_->OnCommand(command);
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            // Minimising the main window minimises the application, as Stand by does.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                MinimizeApplication();
                return 0;
            }
            break;
        case WM_ACTIVATEAPP:
            if (wParam != FALSE && form_ != nullptr) form_->OnActivated();
            return 0;
        case WM_CLOSE:
            // The close box, Alt+F4, Exit and the task bar.
            if (form_ != nullptr) form_->OnClose();
            EndLoop();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The process may end as soon as this returns: everything is saved now.
            if (wParam != FALSE) {
                if (form_ != nullptr) form_->OnEndSession();
                EndLoop();
            }
            return 0;
        case WM_DPICHANGED: {
            // Moved to a screen of another scale: the size Windows suggests for it.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                           suggested->right - suggested->left, suggested->bottom - suggested->top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case MM_WIM_OPEN:
        case MM_WIM_DATA:
        case MM_WIM_CLOSE:
        case WM_TIMER:  // the recording service's stall watch
            if (DeliverWaveIn(message, wParam, lParam)) return 0;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vireon
