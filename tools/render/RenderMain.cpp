// vireon-render: the waterfall of a recording, drawn by the live window's own chain, as PNG.
#include "tools/render/RenderMain.h"

#include <cstdio>
#include <exception>
#include <new>

#include "dsp/kernels/Kernels.h"
#include "platform/FilePaths.h"
#include "tools/render/Render.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/input/RecordingReader.h"

namespace vireon::render {

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "vireon-render: %s\n", message.c_str());
    return 1;
}

}  // namespace

int RenderMain(const std::vector<std::string>& args, bool showProgress) {
    RenderOptions options;
    try {
        options = ParseArguments(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr,
                     "vireon-render: %s\nTry 'vireon-render --help' for more information.\n",
                     e.what());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(HelpText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.showVersion) {
        // What a bug report needs besides the version: what this processor runs.
        std::printf("vireon-render %s\n%s\n%s\n", VIREON_VERSION, vireon::DescribeKernels().c_str(),
                    DescribeInput().c_str());
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    std::string firPath = options.firPath;
    if (firPath.empty()) {
        const std::string directory = vireon::ProgramDirectory();
        if (directory.empty())
            return Fail("cannot find the program's directory for fir1.txt; give --fir");
        firPath = directory + "fir1.txt";
    }

    try {
        const RenderResult result = Render(options, firPath, stderr, showProgress);
        if (result.frames == 0)
            std::fprintf(stderr, "vireon-render: %s: no complete frame; the picture is all white\n",
                         options.input == "-" ? "standard input" : options.input.c_str());
        return 0;
    } catch (const RenderError& e) {
        return Fail(e.what());
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

}  // namespace vireon::render
