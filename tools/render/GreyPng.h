#pragma once
// A fast PNG encoder for the grey waterfall picture: every row "up"-filtered, the rows cut into
// bands that are deflated on all cores at once and joined into one zlib stream.
#include <QImage>

#include "platform/AtomicFile.h"

namespace vireon::render {

// image: Format_Grayscale8, not null. Writes the whole file into file (not committed).
void WriteGreyPng(const QImage& image, AtomicFile& file, int threads);

}  // namespace vireon::render
