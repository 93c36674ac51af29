#pragma once
// Puts a signal chain into the state the live window starts from.
#include <string>

#include "SignalChain.h"

namespace vireon::render {

// 256-point spectra, one sample in three kept, both filters loaded from firPath (first the
// sine branch, then the cosine branch). A missing or malformed coefficient file throws
// RenderError naming it; the window would show a message box and carry on with silent
// filters, which for a picture would only produce a black image.
void SetUpChain(SignalChain& chain, const std::string& firPath);

}  // namespace vireon::render
