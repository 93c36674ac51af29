#pragma once
// The live window's chain set-up, with a bad coefficient file as an error of the run.
#include <string>

#include "dsp/SignalChain.h"

namespace vireon::render {

// SetUpChain, except that a missing or malformed coefficient file throws RenderError naming it:
// the window shows a message box and carries on with silent filters, which for a picture would
// only produce a black image.
void LoadChain(SignalChain& chain, const std::string& firPath);

}  // namespace vireon::render
