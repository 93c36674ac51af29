#pragma once
// The columns of a picture drawn left to right, one grey byte per pixel, kept in blocks so
// that turning them into an image needs little more memory than the image itself.
#include <cstdint>
#include <memory>
#include <vector>

#include "tools/render/output/Picture.h"

namespace vireon::render {

class ColumnStore {
public:
    explicit ColumnStore(int32_t height) : height_(height) {}

    // Room for the next column, top pixel first; valid until the next call.
    uint8_t* AppendColumn();
    int64_t Columns() const { return columns_; }
    int32_t Height() const { return height_; }

    // The grey picture of Columns() x Height(); empties the store as it goes. Returns a null
    // picture when there are no columns or the picture cannot be allocated.
    Picture TakePicture();

private:
    static constexpr int64_t ColumnsPerBlock = 4096;
    int32_t height_;
    int64_t columns_ = 0;
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
};

}  // namespace vireon::render
