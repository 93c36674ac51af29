#pragma once
// --split: the picture cut into spans of a fixed length, each written as NAME-0001.png, ...
// as soon as it is complete, so that only the current span's picture is held.
#include <cstdint>
#include <optional>
#include <string>

#include "tools/render/Workers.h"
#include "tools/render/output/ColumnStore.h"

namespace vireon::render {

// "dir/rec.png" and 3 -> "dir/rec-0003.png"; a name not ending in .png keeps its whole name.
std::string SplitPath(const std::string& output, int64_t index);

class SplitPictures {
public:
    // Spans of spanNs each, counted from startNs (the first frame time the span selects).
    SplitPictures(std::string output, int32_t height, int64_t startNs, int64_t spanNs,
                  Workers& workers);

    // The next column, of the given frame; frames come in increasing order.
    void Add(int64_t frame, const uint8_t* column);
    // Writes the last span's picture.
    void Finish();
    int64_t Pictures() const { return written_; }
    int64_t Columns() const { return columns_; }

private:
    void WriteCurrent();

    std::string output_;
    int64_t startNs_, spanNs_;
    int64_t index_ = 0;  // of the span being collected; 0 before the first column
    int64_t written_ = 0;
    int64_t columns_ = 0;
    ColumnStore store_;
    Workers& workers_;
};

}  // namespace vireon::render
