#include "settings/SettingsStore.h"

#include <stdexcept>

#include "platform/TextFile.h"
#include "settings/RealText.h"
#include "settings/SettingConversions.h"
#include "settings/SettingLines.h"

namespace vireon {

void SettingsStore::Register(const std::string& key, SettingKind kind,
                             const std::string& defaultText, void* target) {
    if (Count < 0 || Count >= SettingsCapacity)
        throw std::length_error("SettingsStore::Register: all " + std::to_string(SettingsCapacity) +
                                " slots are in use");
    SettingBinding& slot = Bindings[Count];
    slot.Key = key;
    slot.Kind = kind;
    slot.Target = target;
    slot.Default = defaultText;
    ++Count;
}

void SettingsStore::Load() {
    // A directory of that name counts as no file; the later Save reports it.
    if (FileExists(FileName)) Lines = ReadLines(FileName);

    for (int32_t i = 0; i < Count; ++i) {
        const SettingBinding& binding = Bindings[i];
        std::string text = ReadValue(Lines, binding.Key);
        if (text.empty()) text = binding.Default;
        switch (binding.Kind) {
            case SettingKind::Integer:
                *static_cast<int32_t*>(binding.Target) = TextToInteger(text);
                break;
            case SettingKind::Boolean:
                *static_cast<bool*>(binding.Target) = TextToBool(text);
                break;
            case SettingKind::Text:
                *static_cast<std::string*>(binding.Target) = DecodeLineBreaks(text);
                break;
            case SettingKind::Real:
                *static_cast<double*>(binding.Target) = TextToReal(text);
                break;
            default:
                break;  // an unknown kind has no conversion; the binding is skipped
        }
    }
}

void SettingsStore::Save() {
    for (int32_t i = 0; i < Count; ++i) {
        const SettingBinding& binding = Bindings[i];
        switch (binding.Kind) {
            case SettingKind::Integer:
                WriteValue(Lines, binding.Key,
                           IntegerToText(*static_cast<const int32_t*>(binding.Target)));
                break;
            case SettingKind::Boolean:
                // Read as a byte: whatever non-zero value the owner stored means "on".
                WriteValue(Lines, binding.Key,
                           BoolToText(*static_cast<const unsigned char*>(binding.Target) != 0));
                break;
            case SettingKind::Text:
                WriteValue(Lines, binding.Key,
                           EncodeLineBreaks(*static_cast<const std::string*>(binding.Target)));
                break;
            case SettingKind::Real:
                // A non-finite value has no text; its line goes and the default returns.
                WriteValue(Lines, binding.Key,
                           RealToText(*static_cast<const double*>(binding.Target)));
                break;
            default:
                break;
        }
    }
    WriteLines(FileName, Lines);
}

std::string BoolToText(bool flag) {
    return flag ? "on" : "off";
}

bool TextToBool(const std::string& text) {
    return text == "on";
}

}  // namespace vireon
