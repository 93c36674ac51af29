#include "tools/render/output/SplitPictures.h"

#include <cstdio>
#include <cstring>

#include "platform/AtomicFile.h"
#include "tools/render/RenderError.h"
#include "tools/render/chain/FrameSpan.h"
#include "tools/render/chain/RenderSink.h"
#include "tools/render/output/PngFile.h"

namespace vireon::render {

std::string SplitPath(const std::string& output, int64_t index) {
    std::string name = output;
    if (name.size() > 4) {
        std::string end = name.substr(name.size() - 4);
        for (char& c : end) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        if (end == ".png") name.resize(name.size() - 4);
    }
    char number[32];
    std::snprintf(number, sizeof number, "-%04lld.png", static_cast<long long>(index));
    return name + number;
}

SplitPictures::SplitPictures(std::string output, int32_t height, int64_t startNs, int64_t spanNs,
                             Workers& workers)
    : output_(std::move(output)),
      startNs_(startNs),
      spanNs_(spanNs),
      store_(height),
      workers_(workers) {}

void SplitPictures::Add(int64_t frame, const uint8_t* column) {
    const int64_t index = (FrameTimeNs(frame) - startNs_) / spanNs_ + 1;
    if (index != index_) {
        if (index_ != 0) WriteCurrent();
        index_ = index;
    }
    if (store_.Columns() >= MaxPngColumns)
        throw RenderError(TooWideMessage(SplitPath(output_, index_), true));
    std::memcpy(store_.AppendColumn(), column, static_cast<std::size_t>(store_.Height()));
    ++columns_;
}

void SplitPictures::Finish() {
    if (index_ != 0) WriteCurrent();
    index_ = 0;
}

void SplitPictures::WriteCurrent() {
    AtomicFile file(SplitPath(output_, index_));
    WritePng(store_.TakePicture(), file, workers_);
    file.Commit();
    ++written_;
}

}  // namespace vireon::render
