#pragma once
// A fresh scratch directory under the system's temporary directory, removed with everything
// in it at the end of the scope.
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

namespace vireon::testing {

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vireon-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error(pattern + ": mkdtemp: " + std::strerror(errno));
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Writes the bytes exactly as given and returns the file's full path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string file = *this / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error(file + ": cannot write");
        return file;
    }

    // Every name in the directory, sorted: a leftover temporary file shows up here.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::string path_;
};

}  // namespace vireon::testing
