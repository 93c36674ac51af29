#pragma once
// A fast PNG encoder for the render tool's pictures: every row "up"-filtered, the rows cut into
// bands that are deflated on all cores at once and joined into one zlib stream.
#include "platform/AtomicFile.h"
#include "tools/render/Workers.h"
#include "tools/render/output/Picture.h"

namespace vireon::render {

// Writes picture (grey or colour) as PNG into file, not yet committed. Throws RenderError, also
// for a null picture (one that could not be allocated).
void WritePng(const Picture& picture, AtomicFile& file, Workers& workers);

}  // namespace vireon::render
