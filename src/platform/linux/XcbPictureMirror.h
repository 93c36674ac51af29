#pragma once
// A copy of a picture's storage kept in the X server, for a window that shows that picture: a
// change of a few columns costs one small upload and server-side copies, with no painting, no
// back buffer of the toolkit's and no round trip.
//
// Only for an X display whose window takes Format_RGB32 pixels as they are (a true-colour
// visual of 24 or 32 bits, 8 bits each of red, green and blue, in this machine's byte order).
#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace vireon {

class XcbPictureMirror {
public:
    // Null unless the application runs on an X display, window (an X window id) can show
    // RGB32 pixels as they are, and the server grants the means to draw on it.
    static std::unique_ptr<XcbPictureMirror> ForWindow(std::uint32_t window);
    ~XcbPictureMirror();
    XcbPictureMirror(const XcbPictureMirror&) = delete;
    XcbPictureMirror& operator=(const XcbPictureMirror&) = delete;

    std::uint32_t Window() const { return window_; }
    // The size of the storage the copy holds; empty before the first upload.
    QSize Size() const { return size_; }

    // Makes the copy a copy of the whole of storage (of Format_RGB32), of its size. False when
    // the server cannot hold a picture of that size: the copy is then empty, and the window
    // must be drawn some other way.
    bool UploadAll(const QImage& storage);
    // Copies part of storage, of the size last uploaded whole, into the same place of the copy.
    void Upload(const QImage& storage, const QRect& part);
    // Shows the part source of the copy in the window, with its top-left at target.
    void Show(QPoint target, const QRect& source);
    // Fills part of the window with white.
    void FillWhite(const QRect& part);
    // Sends what was asked for to the server.
    void Flush();

private:
    XcbPictureMirror(xcb_connection_t* connection, std::uint32_t window, std::uint32_t root,
                     std::uint8_t depth, std::uint32_t gc);
    void PutRows(const QImage& storage, const QRect& part);

    xcb_connection_t* connection_;
    std::uint32_t window_;
    std::uint32_t root_;
    std::uint8_t depth_;
    std::uint32_t gc_;
    std::uint32_t pixmap_ = 0;
    QSize size_;
    std::size_t maxRequestBytes_ = 0;
    std::unique_ptr<std::uint32_t[]> packed_;  // narrow parts, laid out row after row
    std::size_t packedPixels_ = 0;
};

}  // namespace vireon
