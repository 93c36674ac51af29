#pragma once
// Writing the picture as PNG, complete or not at all.
#include <QImage>

#include "platform/AtomicFile.h"

namespace vireon::render {

// Writes image as PNG into file (not yet committed). Throws RenderError.
void WritePng(const QImage& image, AtomicFile& file);

}  // namespace vireon::render
