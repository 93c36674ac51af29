#include "tools/render/chain/ChainSetup.h"

#include <exception>

#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "tools/render/RenderError.h"

namespace vireon::render {

namespace {

// The only box the filter shows is the missing-file one; here it ends the run instead.
class MissingFileIsError final : public MessageBoxService {
public:
    explicit MissingFileIsError(const std::string& path) : path_(path) {}
    void Show(const std::string&, const std::string&, int32_t) override {
        throw RenderError(path_ + ": coefficient file not found (give one with --fir)");
    }

private:
    const std::string& path_;
};

}  // namespace

void LoadChain(SignalChain& chain, const std::string& firPath) {
    MissingFileIsError boxes(firPath);
    try {
        SetUpChain(chain, firPath, boxes);
    } catch (const RenderError&) {
        throw;
    } catch (const std::exception& e) {
        throw RenderError(firPath + ": bad coefficient file: " + ErrorReportText(e.what()));
    }
}

}  // namespace vireon::render
