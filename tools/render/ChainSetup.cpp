#include "ChainSetup.h"

#include <exception>

#include "Errors.h"
#include "MessageBox.h"
#include "RenderError.h"

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

void SetUpChain(SignalChain& chain, const std::string& firPath) {
    chain.Engine.Init(SpectrumSize);
    chain.Decimator.Factor = DecimationFactor;
    MissingFileIsError boxes(firPath);
    try {
        chain.FilterSin.Load(firPath, boxes);
        chain.FilterCos.Load(firPath, boxes);
    } catch (const RenderError&) {
        throw;
    } catch (const std::exception& e) {
        throw RenderError(firPath + ": bad coefficient file: " + ErrorReportText(e.what()));
    }
}

}  // namespace vireon::render
