#include "platform/linux/XcbPictureMirror.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QSysInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vireon {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// Whether pixels of Format_RGB32 mean the same to a window of this depth and visual.
bool TakesRgb32(const xcb_setup_t* setup, xcb_window_t root, std::uint8_t depth,
                xcb_visualid_t visual) {
    if (depth != 24 && depth != 32) return false;
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if (setup->image_byte_order !=
        (littleEndian ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST))
        return false;
    bool fourBytes = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f))
        if (f.data->depth == depth) fourBytes = f.data->bits_per_pixel == 32;
    if (!fourBytes) return false;
    for (auto s = xcb_setup_roots_iterator(setup); s.rem > 0; xcb_screen_next(&s)) {
        if (s.data->root != root) continue;
        for (auto d = xcb_screen_allowed_depths_iterator(s.data); d.rem > 0; xcb_depth_next(&d)) {
            if (d.data->depth != depth) continue;
            for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
                if (v.data->visual_id != visual) continue;
                return v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                       v.data->red_mask == 0xff0000 && v.data->green_mask == 0xff00 &&
                       v.data->blue_mask == 0xff;
            }
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<XcbPictureMirror> XcbPictureMirror::ForWindow(std::uint32_t window) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr || window == 0) return nullptr;
    // Asked once per window: the two answers come back in one round trip.
    const auto geometryAsked = xcb_get_geometry(connection, window);
    const auto attributesAsked = xcb_get_window_attributes(connection, window);
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, geometryAsked, nullptr));
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, attributesAsked, nullptr));
    if (!geometry || !attributes ||
        !TakesRgb32(xcb_get_setup(connection), geometry->root, geometry->depth, attributes->visual))
        return nullptr;
    // Copies come from the pixmap, which is never hidden: no exposure events to ask for.
    const std::uint32_t gc = xcb_generate_id(connection);
    const std::uint32_t values[] = {geometry->depth == 32 ? 0xffffffffu : 0xffffffu, 0};
    if (Reply<xcb_generic_error_t>(xcb_request_check(
            connection,
            xcb_create_gc_checked(connection, gc, window,
                                  XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values))))
        return nullptr;
    return std::unique_ptr<XcbPictureMirror>(
        new XcbPictureMirror(connection, window, geometry->root, geometry->depth, gc));
}

XcbPictureMirror::XcbPictureMirror(xcb_connection_t* connection, std::uint32_t window,
                                   std::uint32_t root, std::uint8_t depth, std::uint32_t gc)
    : connection_(connection), window_(window), root_(root), depth_(depth), gc_(gc) {
    maxRequestBytes_ = std::size_t{xcb_get_maximum_request_length(connection_)} * 4;
}

XcbPictureMirror::~XcbPictureMirror() {
    if (pixmap_ != 0) xcb_free_pixmap(connection_, pixmap_);
    xcb_free_gc(connection_, gc_);
    xcb_flush(connection_);
}

bool XcbPictureMirror::UploadAll(const QImage& storage) {
    if (storage.size() != size_) {
        if (pixmap_ != 0) xcb_free_pixmap(connection_, pixmap_);
        pixmap_ = 0;
        size_ = storage.size();
        if (size_.isEmpty()) return true;  // the server has no empty pixmaps
        // The server may refuse the pixmap (BadAlloc: more than 32767 pixels a side, or out of
        // memory), so its answer is awaited: one round trip per size, not per column.
        const std::uint32_t pixmap = xcb_generate_id(connection_);
        const bool fits = size_.width() <= 0xffff && size_.height() <= 0xffff;
        if (!fits || Reply<xcb_generic_error_t>(xcb_request_check(
                         connection_, xcb_create_pixmap_checked(connection_, depth_, pixmap, root_,
                                                                std::uint16_t(size_.width()),
                                                                std::uint16_t(size_.height()))))) {
            size_ = QSize();
            return false;
        }
        pixmap_ = pixmap;
    }
    PutRows(storage, storage.rect());
    return true;
}

void XcbPictureMirror::Upload(const QImage& storage, const QRect& part) {
    PutRows(storage, part & storage.rect() & QRect(QPoint(0, 0), size_));
}

void XcbPictureMirror::PutRows(const QImage& storage, const QRect& part) {
    if (pixmap_ == 0 || part.isEmpty() || storage.format() != QImage::Format_RGB32) return;
    const std::size_t rowBytes = std::size_t(part.width()) * 4;
    constexpr std::size_t HeaderBytes = 24 + 64;  // the request's own fields, with room to spare
    const int rowsPerRequest =
        int(std::max<std::size_t>(1, (maxRequestBytes_ - HeaderBytes) / rowBytes));
    // Whole rows go straight from the picture; a narrow part is gathered row after row first.
    const bool whole = part.x() == 0 && std::size_t(storage.bytesPerLine()) == rowBytes;
    for (int top = part.top(); top <= part.bottom(); top += rowsPerRequest) {
        const int rows = std::min(rowsPerRequest, part.bottom() + 1 - top);
        const std::size_t pixels = std::size_t(part.width()) * std::size_t(rows);
        const std::uint8_t* data = storage.constScanLine(top);
        if (!whole) {
            if (packedPixels_ < pixels) {
                packed_ = std::make_unique<std::uint32_t[]>(pixels);
                packedPixels_ = pixels;
            }
            for (int y = 0; y < rows; ++y)
                std::memcpy(packed_.get() + std::size_t(y) * std::size_t(part.width()),
                            storage.constScanLine(top + y) + std::size_t(part.x()) * 4, rowBytes);
            data = reinterpret_cast<const std::uint8_t*>(packed_.get());
        }
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, gc_,
                      std::uint16_t(part.width()), std::uint16_t(rows), std::int16_t(part.x()),
                      std::int16_t(top), 0, depth_, std::uint32_t(pixels * 4), data);
    }
}

void XcbPictureMirror::Show(QPoint target, const QRect& source) {
    const QRect shown = source & QRect(QPoint(0, 0), size_);
    if (pixmap_ == 0 || shown.isEmpty()) return;
    const QPoint at = target + (shown.topLeft() - source.topLeft());
    xcb_copy_area(connection_, pixmap_, window_, gc_, std::int16_t(shown.x()),
                  std::int16_t(shown.y()), std::int16_t(at.x()), std::int16_t(at.y()),
                  std::uint16_t(shown.width()), std::uint16_t(shown.height()));
}

void XcbPictureMirror::FillWhite(const QRect& part) {
    if (part.isEmpty()) return;
    const xcb_rectangle_t rect{std::int16_t(part.x()), std::int16_t(part.y()),
                               std::uint16_t(part.width()), std::uint16_t(part.height())};
    xcb_poly_fill_rectangle(connection_, window_, gc_, 1, &rect);
}

void XcbPictureMirror::Flush() {
    xcb_flush(connection_);
}

}  // namespace vireon
