#pragma once
// A fresh scratch directory under the system's temporary directory, removed with everything
// in it at the end of the scope. Paths are UTF-8 strings, as the program keeps them.
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

namespace vireon::testing {

// A UTF-8 path for std::filesystem and the streams, whatever the system's narrow encoding.
inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class TempDir {
public:
    TempDir() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = "vireon-test-";
            for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
            // create_directory is false when the name was taken: try another.
            if (!std::filesystem::create_directory(base / name)) continue;
            std::filesystem::permissions(base / name, std::filesystem::perms::owner_all);
            path_ = Utf8Of(base / name);
            return;
        }
        throw std::runtime_error(Utf8Of(base) + ": no fresh name for a scratch directory");
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(PathOf(path_), ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Writes the bytes exactly as given and returns the file's full path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string file = *this / name;
        std::ofstream out(PathOf(file), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error(file + ": cannot write");
        return file;
    }

    // Every name in the directory, sorted: a leftover temporary file shows up here.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(PathOf(path_)))
            names.insert(Utf8Of(entry.path().filename()));
        return names;
    }

private:
    std::string path_;
};

}  // namespace vireon::testing
