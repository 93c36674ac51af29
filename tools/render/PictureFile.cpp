#include "tools/render/PictureFile.h"

#include <algorithm>

#include <QFile>
#include <QImageWriter>

#include <thread>

#include "tools/render/GreyPng.h"
#include "tools/render/RenderError.h"

namespace vireon::render {

void WritePng(const QImage& image, AtomicFile& file) {
    if (image.isNull()) throw RenderError(file.Path() + ": no picture to write (out of memory?)");
    if (image.format() == QImage::Format_Grayscale8) {
        WriteGreyPng(image, file,
                     static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
        return;
    }
    QFile device;
    if (!device.open(file.Descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw RenderError(file.Path() + ": write error: " + device.errorString().toStdString());
    QImageWriter writer(&device, "png");
    const bool written = writer.write(image);
    device.flush();
    if (!written || device.error() != QFileDevice::NoError) {
        const QString why =
            device.error() != QFileDevice::NoError ? device.errorString() : writer.errorString();
        throw RenderError(file.Path() + ": cannot write the PNG: " + why.toStdString());
    }
}

}  // namespace vireon::render
