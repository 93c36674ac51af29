#pragma once
// One run of vireon-render: the recording through the chain into the requested files.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/render/RenderOptions.h"

namespace vireon::render {

struct RenderResult {
    int64_t samples = 0;   // at 8000 Hz
    int64_t frames = 0;    // computed
    int64_t columns = 0;   // in the picture (the window's width with --window)
    int64_t pictures = 1;  // files written (with --split, one per span)
};

// firPath is the coefficient file to use (the option's, or the default one). Progress goes to
// progressOut when showProgress. Throws RenderError; on a throw no output file was written.
RenderResult Render(const RenderOptions& options, const std::string& firPath, FILE* progressOut,
                    bool showProgress);

}  // namespace vireon::render
