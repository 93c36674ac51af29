// vireon-render's entry on Windows: the arguments arrive as UTF-16 (wmain, linked with
// -municode) and go on as UTF-8, so that any file name works.
#include <windows.h>

#include "platform/windows/WideText.h"
#include "tools/render/RenderMain.h"

namespace {

// For the run, the console shows the UTF-8 of the messages (file names) as text, and takes the
// progress line's "erase to the end" sequence; both are put back at the end.
class RunConsole {
public:
    RunConsole() : error_(::GetStdHandle(STD_ERROR_HANDLE)) {
        if (!::GetConsoleMode(error_, &mode_)) return;  // not a console: a file or a pipe
        codePage_ = ::GetConsoleOutputCP();
        ::SetConsoleOutputCP(CP_UTF8);
        progress_ = (mode_ & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
                    ::SetConsoleMode(error_, mode_ | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
    ~RunConsole() {
        if (codePage_ == 0) return;
        ::SetConsoleOutputCP(codePage_);
        ::SetConsoleMode(error_, mode_);
    }
    RunConsole(const RunConsole&) = delete;
    RunConsole& operator=(const RunConsole&) = delete;

    bool ShowsProgress() const { return progress_; }

private:
    HANDLE error_;
    DWORD mode_ = 0;
    UINT codePage_ = 0;
    bool progress_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(vireon::Narrow(argv[i]));
    RunConsole console;
    return vireon::render::RenderMain(args, console.ShowsProgress());
}
