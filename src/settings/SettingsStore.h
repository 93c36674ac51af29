#pragma once
// Typed name=value settings kept in a small text file users may edit by hand. Every line of the
// file is kept as read; only the lines of registered keys are read and rewritten.
#include <cstdint>
#include <string>
#include <vector>

namespace vireon {

// What a binding's target points at: Integer an int32_t, Boolean a bool, Text a std::string,
// Real a double. Other values are possible and make the binding be skipped.
enum class SettingKind : int32_t { Integer = 0, Boolean = 1, Text = 2, Real = 3 };

struct SettingBinding {
    std::string Key;
    SettingKind Kind = SettingKind::Integer;
    void* Target = nullptr;
    std::string Default;
};

constexpr int32_t SettingsCapacity = 100;

struct SettingsStore {
    std::vector<std::string> Lines;
    std::string FileName;
    SettingBinding Bindings[SettingsCapacity];
    int32_t Count = 0;

    // Throws std::length_error beyond the 100 slots.
    void Register(const std::string& key, SettingKind kind, const std::string& defaultText,
                  void* target);
    // Fills every bound variable from the file (defaults where a key is missing or empty).
    // Real values use "." whatever the process locale.
    void Load();
    // Writes every bound variable into Lines, then Lines to the file (replaced only once the
    // new content is safely on disk). An empty Text, or a Real that is not finite, removes
    // its key's line, so the next Load gives the default.
    void Save();
};

std::string BoolToText(bool flag);
bool TextToBool(const std::string& text);

}  // namespace vireon
