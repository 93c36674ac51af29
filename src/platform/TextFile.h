#pragma once
// Whole-file text services for the two small files users edit by hand.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vireon {

// True when something other than a directory exists at the path (a symbolic link counts by
// what it points to; a dangling one does not exist).
bool FileExists(const std::string& path);

// Splits text into lines: CR, LF and CR LF each end a line (LF CR is two line ends); a NUL ends
// the text; a line end at the very end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The most ReadLines takes in before a NUL, and the most lines it makes of it; a longer text
// is refused as unreadable.
inline constexpr std::size_t MaxTextFileBytes = std::size_t{256} << 20;
inline constexpr std::size_t MaxTextFileLines = std::size_t{16} << 20;

// Reads the whole file and splits it. Throws FileOpenError when it cannot be opened or holds
// more than MaxTextFileBytes or MaxTextFileLines before its first NUL. Never blocks on a FIFO
// without a writer, and stops at the first NUL (so /dev/zero ends at once).
std::vector<std::string> ReadLines(const std::string& path);

// Writes every line followed by CR LF. The old file is replaced only once the new content is
// safely on disk: it goes to a temporary file beside it, is flushed, and renamed over the old
// one, keeping its permissions; a symbolic link is written through to its target. A writable
// file in a folder that takes no new file is rewritten in place and synced instead. Temporary
// files of earlier saves of the same file that were cut short, older than a minute, are
// removed.
// Throws FileCreateError when the file cannot be created, is read-only (even for root), or is
// not a regular file (a directory, a device, a FIFO, a link that cannot be followed);
// WriteError when the disk takes fewer bytes than asked. On failure the old file is untouched
// and no temporary file is left.
void WriteLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace vireon
