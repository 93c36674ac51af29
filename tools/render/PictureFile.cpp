#include "tools/render/PictureFile.h"

#include <QFile>
#include <QImageWriter>

#include "tools/render/RenderError.h"

namespace vireon::render {

void WritePng(const QImage& image, AtomicFile& file) {
    if (image.isNull()) throw RenderError(file.Path() + ": no picture to write (out of memory?)");
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
