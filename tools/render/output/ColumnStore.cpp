#include "tools/render/output/ColumnStore.h"

#include <algorithm>

namespace vireon::render {

uint8_t* ColumnStore::AppendColumn() {
    const int64_t inBlock = columns_ % ColumnsPerBlock;
    if (inBlock == 0)
        blocks_.push_back(
            std::make_unique<uint8_t[]>(static_cast<std::size_t>(ColumnsPerBlock * height_)));
    ++columns_;
    return blocks_.back().get() + inBlock * height_;
}

Picture ColumnStore::TakePicture() {
    if (columns_ == 0 || columns_ > INT32_MAX) return {};
    Picture image = Picture::Filled(static_cast<int32_t>(columns_), height_, 1, 0);
    if (image.IsNull()) return image;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const int64_t first = static_cast<int64_t>(b) * ColumnsPerBlock;
        const int64_t count = std::min(ColumnsPerBlock, columns_ - first);
        const uint8_t* block = blocks_[b].get();
        for (int32_t y = 0; y < height_; ++y) {
            uint8_t* line = image.Row(y) + first;
            for (int64_t c = 0; c < count; ++c) line[c] = block[c * height_ + y];
        }
        blocks_[b].reset();  // give the memory back before the next block is copied
    }
    blocks_.clear();
    columns_ = 0;
    return image;
}

}  // namespace vireon::render
