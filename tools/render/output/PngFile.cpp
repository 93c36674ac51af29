#include "tools/render/output/PngFile.h"

#include <zlib.h>
#include <algorithm>
#include <cstdint>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/render/RenderError.h"

namespace vireon::render {

namespace {

// Run-length matching at the fastest level: the picture's rows are long, the up filter leaves
// runs where the picture is still, and the Huffman stage does the rest. Much faster than
// zlib's default and, on waterfalls, hardly larger.
constexpr int Level = 1;
constexpr int Strategy = Z_RLE;

struct Band {
    int firstRow = 0, rows = 0;
    std::vector<unsigned char> deflated;
    uLong adler = 1;
    uLong length = 0;  // filtered bytes
    bool failed = false;
};

// The band's rows, each a filter byte (2: up) and the differences to the row above, as raw
// deflate ending on a byte boundary (or, for the last band, the end of the stream).
void Deflate(const Picture& picture, Band& band, bool last) {
    const std::size_t width = picture.RowBytes();
    std::vector<unsigned char> row(width + 1);
    z_stream z{};
    if (deflateInit2(&z, Level, Z_DEFLATED, -15, 8, Strategy) != Z_OK) {
        band.failed = true;
        return;
    }
    band.deflated.resize(deflateBound(&z, static_cast<uLong>(row.size()) * band.rows) + 64);
    z.next_out = band.deflated.data();
    z.avail_out = static_cast<uInt>(band.deflated.size());
    for (int y = band.firstRow; y < band.firstRow + band.rows; ++y) {
        const uint8_t* line = picture.Row(y);
        row[0] = 2;
        if (y == 0) {
            std::copy(line, line + width, row.begin() + 1);
        } else {
            const uint8_t* above = picture.Row(y - 1);
            for (std::size_t x = 0; x < width; ++x) row[x + 1] = uint8_t(line[x] - above[x]);
        }
        band.adler = adler32(band.adler, row.data(), static_cast<uInt>(row.size()));
        band.length += static_cast<uLong>(row.size());
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        const bool end = y + 1 == band.firstRow + band.rows;
        const int flush = end ? (last ? Z_FINISH : Z_SYNC_FLUSH) : Z_NO_FLUSH;
        const int status = deflate(&z, flush);
        if (status == Z_STREAM_ERROR || z.avail_in != 0 ||
            (flush == Z_FINISH && status != Z_STREAM_END)) {
            band.failed = true;
            break;
        }
    }
    band.deflated.resize(z.total_out);
    deflateEnd(&z);
}

void Put32(std::string& out, uint32_t v) {
    out.push_back(char(v >> 24));
    out.push_back(char(v >> 16));
    out.push_back(char(v >> 8));
    out.push_back(char(v));
}

void WriteChunk(AtomicFile& file, const char* type, const unsigned char* data, std::size_t size) {
    std::string head;
    Put32(head, static_cast<uint32_t>(size));
    head.append(type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0) crc = crc32_z(crc, data, size);  // a null buffer would restart the CRC
    file.Write(head.data(), head.size());
    if (size > 0) file.Write(data, size);
    std::string tail;
    Put32(tail, static_cast<uint32_t>(crc));
    file.Write(tail.data(), tail.size());
}

}  // namespace

void WritePng(const Picture& picture, AtomicFile& file, Workers& workers) {
    if (picture.IsNull() || (picture.channels != 1 && picture.channels != 3))
        throw RenderError(file.Path() + ": no picture to write (out of memory?)");
    const int height = picture.height;
    const int bands = std::clamp(workers.Count(), 1, height);
    std::vector<Band> parts(static_cast<std::size_t>(bands));
    for (int b = 0; b < bands; ++b) {
        parts[std::size_t(b)].firstRow = height * b / bands;
        parts[std::size_t(b)].rows = height * (b + 1) / bands - height * b / bands;
    }
    std::vector<std::future<void>> deflated;
    for (int b = 0; b < bands; ++b)
        deflated.push_back(
            workers.RunFirst([&, b] { Deflate(picture, parts[std::size_t(b)], b + 1 == bands); }));
    for (auto& d : deflated) d.wait();  // every band, before any error leaves them running
    for (auto& d : deflated) d.get();
    for (const Band& band : parts)
        if (band.failed) throw RenderError(file.Path() + ": cannot write the PNG: deflate failed");

    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    file.Write(signature, sizeof signature);
    std::string header;
    Put32(header, static_cast<uint32_t>(picture.width));
    Put32(header, static_cast<uint32_t>(height));
    header.push_back(8);                              // bits per channel
    header.push_back(picture.channels == 1 ? 0 : 2);  // grey or red, green, blue
    header += std::string("\x00\x00\x00", 3);         // deflate, no filter set, no interlace
    WriteChunk(file, "IHDR", reinterpret_cast<const unsigned char*>(header.data()), header.size());
    // One zlib stream: its header, the bands, the Adler-32 of all the filtered bytes.
    const unsigned char zlibHeader[2] = {0x78, 0x01};
    WriteChunk(file, "IDAT", zlibHeader, 2);
    uLong adler = 1;
    for (const Band& band : parts) {
        // A chunk may hold at most 2^31 - 1 bytes.
        constexpr std::size_t MaxChunk = std::size_t(1) << 30;
        for (std::size_t at = 0; at < band.deflated.size(); at += MaxChunk)
            WriteChunk(file, "IDAT", band.deflated.data() + at,
                       std::min(MaxChunk, band.deflated.size() - at));
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.length));
    }
    std::string trailer;
    Put32(trailer, static_cast<uint32_t>(adler));
    WriteChunk(file, "IDAT", reinterpret_cast<const unsigned char*>(trailer.data()), 4);
    WriteChunk(file, "IEND", nullptr, 0);
}

}  // namespace vireon::render
