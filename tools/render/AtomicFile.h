#pragma once
// An output file that appears complete or not at all: everything goes to a temporary file
// beside the target, which replaces the target only on Commit. Without a Commit (a failure,
// an exception) the temporary file is removed and an existing target stays as it was.
#include <cstddef>
#include <string>
#include <vector>

namespace vireon::render {

class AtomicFile {
public:
    // Creates the temporary file at once, so an unwritable place is reported before any work.
    // Throws RenderError naming path.
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(const void* data, std::size_t size);
    // The descriptor of the temporary file, for writers that want one; buffered data is
    // written out first.
    int Descriptor();
    // Writes out, syncs and renames over the target. Throws RenderError.
    void Commit();
    const std::string& Path() const { return path_; }

private:
    void Flush();
    void Fail(const std::string& what) const;

    std::string path_;    // as the user gave it, for messages
    std::string target_;  // where the data goes (a symbolic link is followed)
    std::string temp_;
    int fd_ = -1;
    unsigned mode_ = 0;
    std::vector<char> buffer_;
};

}  // namespace vireon::render
