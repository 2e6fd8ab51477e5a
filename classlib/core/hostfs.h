#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
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
    // A status of the given code whose reason is FailureReason(action, path, words).
    static HostStatus Failure(Code code, std::string_view action, std::string_view path,
                              std::string_view words);
};

// The one form of a failure's reason, on every platform and in the copy:
// "ACTION PATH: WORDS", that is what was attempted ("cannot read"), the path
// it concerned, and what went wrong in the system's words (or the program's
// own). An empty part goes with its separator: "PATH: is a link; not
// followed", "no destination folder was given".
std::string FailureReason(std::string_view action, std::string_view path, std::string_view words);

// The identity of a file on its host, whatever the path that names it:
// device and inode on POSIX, volume serial and file index on Windows.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The host file layer: every file access of the core goes through it, so that
// tests can put a fake in its place.
//
// Paths may use '\' or '/' as separators. Names that a project gives are
// looked up without regard to case on a host that tells case apart (Windows
// projects name their files in any case): Resolve, Kind, ReadFile and the
// source of CopyFile take a path component that does not exist in its exact
// case as the single entry of its folder that matches it. What is written
// (folders, copied files, written files) is named exactly as given.
class HostFs {
public:
    HostFs() = default;
    virtual ~HostFs() = default;
    HostFs(const HostFs&) = delete;
    HostFs& operator=(const HostFs&) = delete;

    // The path as the file system spells it: separators turned to '/', each
    // component resolved to its on-disk case where a unique match exists.
    // Components that cannot be resolved are kept as written.
    virtual std::string Resolve(std::string_view path) = 0;

    virtual HostEntry Kind(std::string_view path) = 0;
    // A file or folder exists (anything with attributes counts).
    bool Exists(std::string_view path) { return Kind(path) != HostEntry::Missing; }

    // Reads a whole regular file. FIFOs, devices and folders give NotRegular
    // without blocking; files above maxBytes give TooLarge.
    virtual HostStatus ReadFile(std::string_view path, std::string& contents,
                                std::uint64_t maxBytes) = 0;
    HostStatus ReadFile(std::string_view path, std::string& contents) {
        return ReadFile(path, contents, kDefaultMaxRead);
    }

    // Creates one folder (its parent must exist). A folder that exists
    // afterwards is success, also when someone else made it meanwhile.
    virtual HostStatus CreateFolder(std::string_view path) = 0;

    // Copies a regular file of any size as a stream to relative below
    // folder, making the missing folders between them, replacing the
    // destination whole or not at all (written to a temporary file beside it,
    // then renamed), keeping the source's modification time. folder itself
    // may be reached through links; nothing below it that is a link is
    // followed, neither a folder nor the file: such a copy fails and writes
    // nothing (decided on the open folders, so no swap meanwhile changes it).
    // A destination that is the source itself is refused and left untouched.
    virtual HostStatus CopyFileBelow(std::string_view source, std::string_view folder,
                                     std::string_view relative) = 0;
    // CopyFileBelow into the destination's own folder, which must exist.
    HostStatus CopyFile(std::string_view source, std::string_view destination);

    // Writes a file through a temporary file beside it and renames it into
    // place, so that an interrupted write never leaves a cut file. The writer
    // returns false to abandon the write (the old file stays).
    virtual HostStatus WriteFileAtomically(std::string_view path,
                                           const std::function<bool(std::ostream&)>& writer) = 0;

    // The identity of the file that path names exactly (links followed).
    virtual HostStatus Identify(std::string_view path, FileIdentity& identity) = 0;

    // The process's current folder, with '/' separators; empty on failure.
    static std::string CurrentFolder();
    // The absolute path of an existing folder as the system reaches it:
    // links and ".." resolved by the system, not as text; '/' separators.
    // Empty on failure.
    static std::string SystemFolderPath(std::string_view folder);

    static constexpr std::uint64_t kDefaultMaxRead = 1ull << 30;
};

// The host's own file system. Folder listings, entry kinds and the current
// folder (against which relative paths are taken) are cached for the life of
// the object, so make one per load or copy run; writes through the object
// keep the cache true. Two threads may use one object at once (a load reads
// files on a thread of its own). Temporary files of a write in progress are removed
// when the process is ended by SIGINT, SIGTERM or SIGHUP.
class NativeHostFs : public HostFs {
public:
    using HostFs::ReadFile;
    std::string Resolve(std::string_view path) override;
    HostEntry Kind(std::string_view path) override;
    HostStatus ReadFile(std::string_view path, std::string& contents,
                        std::uint64_t maxBytes) override;
    HostStatus CreateFolder(std::string_view path) override;
    HostStatus CopyFileBelow(std::string_view source, std::string_view folder,
                             std::string_view relative) override;
    HostStatus WriteFileAtomically(std::string_view path,
                                   const std::function<bool(std::ostream&)>& writer) override;
    HostStatus Identify(std::string_view path, FileIdentity& identity) override;

private:
    // A folder's entries by their ASCII-lower-case spelling; usually one name each.
    using FolderIndex = std::unordered_map<std::string, std::vector<std::string>>;
    enum class Lookup { IgnoringCase, Exact };

    // The host spelling of path (resolved without case unless Exact) and the
    // cache key of the result: absolute, '/' separated, without empty or "."
    // components.
    std::string ResolveWithKey(std::string_view path, std::string& key,
                               Lookup lookup = Lookup::IgnoringCase);
    std::string ResolveComponent(const std::string& folderKey, std::string_view component);
#ifndef _WIN32
    void ResolveComponents(std::string_view text, std::size_t start, std::string& resolved,
                           std::string& key, Lookup lookup);
#endif
    // The resolution of a path's folder part ("a/b/", as written), kept while no
    // entry is created.
    bool ResolvedFolder(const std::string& folderText, std::string& resolved, std::string& key);
    void KeepResolvedFolder(const std::string& folderText, const std::string& resolved,
                            const std::string& key);
    const FolderIndex& Listing(const std::string& folderKey);
    // The platform's part of the listing: a folder's entries, and the key a
    // name has among them (its case folded as the file system folds it).
    static FolderIndex ListFolder(const std::string& folderKey);
    static std::string EntryKey(std::string_view name);
    // Keeps the caches true after this object created key as kind.
    void NoteCreated(const std::string& key, HostEntry kind);

    // The current folder, read at the first relative path: it is asked for
    // every relative path, and a load resolves hundreds of thousands.
    std::string CachedCurrentFolder();
    std::optional<HostEntry> CachedKind(const std::string& key);
    void CacheKind(const std::string& key, HostEntry kind);

    std::mutex cacheMutex_;  // over the three caches below
    std::string currentFolder_;
    std::unordered_map<std::string, FolderIndex> listings_;
    std::unordered_map<std::string, HostEntry> kinds_;
    std::unordered_map<std::string, std::pair<std::string, std::string>> resolvedFolders_;
};
