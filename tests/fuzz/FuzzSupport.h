#pragma once
// Small helpers shared by the fuzz targets: a scratch file per process, a byte reader for
// decoding parameters from the front of an input, and a surface that refuses stray pixels.
#include <fcntl.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ImageSurface.h"

namespace vireon::fuzz {

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// A file in tmpfs named after the process, so parallel workers never share one.
inline std::string ScratchPath(const char* tag) {
    const char* dir = std::getenv("VIREON_FUZZ_TMP");
    std::string base = dir ? dir : "/dev/shm";
    return base + "/vireon-fuzz-" + tag + "-" + std::to_string(::getpid());
}

inline void WriteFileBytes(const std::string& path, const uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) Fail("cannot create the scratch file");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) Fail("cannot write the scratch file");
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) Fail("cannot read back a file");
    uint8_t buf[4096];
    while (const std::size_t n = std::fread(buf, 1, sizeof buf, f))
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

// Takes fixed-size values off the front of the input; zeros once it runs dry.
class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Word() {
        const uint16_t lo = Byte();
        return static_cast<uint16_t>(lo | (Byte() << 8));
    }
    uint32_t Long() {
        const uint32_t lo = Word();
        return lo | (uint32_t{Word()} << 16);
    }
    float Float() {
        const uint32_t bits = Long();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    const uint8_t* Rest() const { return data_ + pos_; }
    std::size_t Left() const { return size_ - pos_; }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Pixels in plain memory. Any touch outside the surface aborts: the renderer promises to draw
// only what the surface has, so a stray coordinate is a fault, not something to clip.
class StrictSurface final : public ImageSurface {
public:
    StrictSurface(int32_t w, int32_t h)
        : w_(w), h_(h), pixels_(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0) {}
    int32_t Width() const override { return w_; }
    int32_t Height() const override { return h_; }
    void SetPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b) override {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) Fail("pixel outside the surface");
        if (r != g || g != b) Fail("a waterfall pixel that is not grey");
        pixels_[Index(x, y)] = r;
    }
    void CopyRect(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t dx, int32_t dy) override {
        if (w < 0 || h < 0) Fail("negative copy size");
        if (sx < 0 || sy < 0 || dx < 0 || dy < 0 || sx + w > w_ || dx + w > w_ || sy + h > h_ ||
            dy + h > h_)
            Fail("copy outside the surface");
        // Rows in the order that keeps an overlapping copy correct; memmove handles each row.
        for (int32_t i = 0; i < h; ++i) {
            const int32_t row = dy > sy ? h - 1 - i : i;
            std::memmove(&pixels_[Index(dx, dy + row)], &pixels_[Index(sx, sy + row)],
                         static_cast<std::size_t>(w));
        }
    }

private:
    std::size_t Index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(w_) +
               static_cast<std::size_t>(x);
    }
    int32_t w_, h_;
    std::vector<uint8_t> pixels_;
};

}  // namespace vireon::fuzz
