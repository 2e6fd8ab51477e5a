#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "classlib/core/pathrules.h"

// What a path names on the host.
enum class HostEntry { Missing, File, Folder, Other };

// Outcome of a host operation: NotFound (a normal result) is kept apart from
// Failed (an I/O error), and the reason names the path and the OS error.
struct HostStatus {
    enum class Code { Ok, NotFound, NotRegular, TooLarge, Failed };
    Code code = Code::Ok;
    std::string reason;

    bool ok() const { return code == Code::Ok; }
    static HostStatus Ok() { return {}; }
};

// The host file layer: every file access of the core goes through it.
//
// Paths may use '\' or '/' as separators. On POSIX '\' becomes '/' before the
// file system is touched, and a path component that does not exist in its
// exact case resolves to the single entry of its folder that matches it
// without regard to case (Windows projects name their files in any case).
// Folder listings, entry kinds and the current folder (against which relative
// paths are taken) are cached for the life of the object, so make one per
// load or copy run; writes through the object keep the cache true.
class HostFs {
public:
    HostFs() = default;
    HostFs(const HostFs&) = delete;
    HostFs& operator=(const HostFs&) = delete;

    // The path as the file system spells it: separators turned to '/', each
    // component resolved to its on-disk case where a unique match exists.
    // Components that cannot be resolved are kept as written.
    std::string Resolve(std::string_view path);

    HostEntry Kind(std::string_view path);
    // A file or folder exists (anything with attributes counts).
    bool Exists(std::string_view path) { return Kind(path) != HostEntry::Missing; }

    // Reads a whole regular file. FIFOs, devices and folders give NotRegular
    // without blocking; files above maxBytes give TooLarge.
    HostStatus ReadFile(std::string_view path, std::string& contents,
                        std::uint64_t maxBytes = kDefaultMaxRead);

    // Creates one folder (its parent must exist).
    HostStatus CreateFolder(std::string_view path);

    // Copies a regular file, replacing the destination whole or not at all
    // (written to a temporary file beside it, then renamed), keeping the
    // source's modification time. A destination that is the source itself is
    // refused and left untouched.
    HostStatus CopyFile(std::string_view source, std::string_view destination);

    // Writes a file through a temporary file beside it and renames it into
    // place, so that an interrupted write never leaves a cut file. The writer
    // returns false to abandon the write (the old file stays).
    HostStatus WriteFileAtomically(std::string_view path,
                                   const std::function<bool(std::ostream&)>& writer);

    // The process's current folder, with '/' separators; empty on failure.
    static std::string CurrentFolder();

    // True when both paths name the same existing file (same device and inode).
    bool SameFile(std::string_view a, std::string_view b);

    static constexpr std::uint64_t kDefaultMaxRead = 1ull << 30;

private:
    // A folder's entries by their ASCII-lower-case spelling; usually one name each.
    using FolderIndex = std::unordered_map<std::string, std::vector<std::string>>;

    // Resolves path and gives the cache key of the result: absolute, '/'
    // separated, without empty or "." components.
    std::string ResolveWithKey(std::string_view path, std::string& key);
    std::string ResolveComponent(const std::string& folderKey, std::string_view component);
    const FolderIndex& Listing(const std::string& folderKey);
    // Keeps the caches true after this object created key as kind.
    void NoteCreated(const std::string& key, HostEntry kind);

    // The current folder, read at the first relative path: it is asked for
    // every relative path, and a load resolves hundreds of thousands.
    const std::string& CachedCurrentFolder();

    std::string currentFolder_;
    std::unordered_map<std::string, FolderIndex> listings_;
    std::unordered_map<std::string, HostEntry> kinds_;
};
