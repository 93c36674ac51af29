// Arbitrary bytes as a settings file with one binding of every kind: Load either fills them or
// refuses a bad Real with its conversion error; then Save must write what Load reads back to
// the same values, and saving those again must give the very same file.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/Errors.h"
#include "settings/SettingsStore.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using vireon::SettingKind;
using vireon::SettingsStore;
using vireon::fuzz::Fail;

struct Values {
    int32_t integer = 0;
    bool boolean = false;
    std::string text;
    double real = 0.0;
    int32_t second = 0;   // a key that is a prefix of another
    std::string unnamed;  // the empty key: lines that start with "="
    double realNoDefault = 0.0;
};

// Fresh store and registrations for each Load, as the program makes them once per run.
void Register(SettingsStore& store, Values& v, const std::string& path) {
    store.FileName = path;
    store.Register("BlockLenMultipler", SettingKind::Integer, "1", &v.integer);
    store.Register("WindowMaximized", SettingKind::Boolean, "on", &v.boolean);
    store.Register("Caption", SettingKind::Text, "Vireon\r\nwaterfall", &v.text);
    store.Register("Gain", SettingKind::Real, "1.5", &v.real);
    store.Register("Gai", SettingKind::Integer, "-7", &v.second);
    store.Register("", SettingKind::Text, "x", &v.unnamed);
    store.Register("Offset", SettingKind::Real, "0", &v.realNoDefault);
    store.Register("Ignored", static_cast<SettingKind>(7), "", nullptr);
}

bool SameReal(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Integer, Boolean and Text survive a save exactly; Real keeps 15 digits.
void CheckExact(const Values& a, const Values& b) {
    if (a.integer != b.integer || a.second != b.second) Fail("an Integer changed on the way");
    if (a.boolean != b.boolean) Fail("a Boolean changed on the way");
    if (a.text != b.text || a.unnamed != b.unnamed) Fail("a Text changed on the way");
}

Values LoadFile(const std::string& path, std::vector<std::string>* lines = nullptr) {
    SettingsStore store;
    Values v;
    Register(store, v, path);
    try {
        store.Load();
    } catch (const vireon::Error&) {
        Fail("what Save wrote does not load");
    }
    if (lines) *lines = store.Lines;
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string path = vireon::fuzz::ScratchPath("settings");
    vireon::fuzz::WriteFileBytes(path, data, size);

    SettingsStore store;
    Values first;
    Register(store, first, path);
    try {
        store.Load();
    } catch (const vireon::ConvertError&) {
        return 0;  // a Real that is not a number: refused, and nothing is saved
    }
    store.Save();
    const std::vector<uint8_t> saved = vireon::fuzz::ReadFileBytes(path);

    std::vector<std::string> linesAfter;
    const Values second = LoadFile(path, &linesAfter);
    CheckExact(first, second);
    if (std::isfinite(first.real) != std::isfinite(second.real)) Fail("a Real lost its value");

    // Whatever was saved once is in its final form: saving it again writes the same bytes.
    {
        SettingsStore again;
        Values v;
        Register(again, v, path);
        again.Load();
        again.Save();
    }
    if (vireon::fuzz::ReadFileBytes(path) != saved) Fail("a second save wrote another file");
    const Values third = LoadFile(path);
    CheckExact(second, third);
    if (!SameReal(second.real, third.real) || !SameReal(second.realNoDefault, third.realNoDefault))
        Fail("a saved Real did not load back to itself");

    // The file is exactly the lines Load kept, each ended by CR LF.
    std::string expected;
    for (const auto& line : linesAfter) expected += line + "\r\n";
    if (std::string(saved.begin(), saved.end()) != expected) Fail("the file is not its lines");
    return 0;
}
