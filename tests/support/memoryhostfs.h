#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "classlib/core/hostfs.h"

// A file system held in memory, with the host layer's rules: '\' and '/' alike, names looked up
// without regard to case when no exact match exists, what is written named exactly as given. It
// has one root "/", which is also the current folder. The fuzz targets run whole loads on it, as
// fast as the readers themselves allow.
class MemoryHostFs : public HostFs {
public:
    MemoryHostFs();

    // Puts a file at path, making its folders; replaces what was there.
    void AddFile(std::string_view path, std::string_view bytes);
    // Empties the file system.
    void Clear();
    // Every file by its folded path and its bytes.
    std::map<std::string, std::string> Files() const;

    using HostFs::ReadFile;
    std::string Resolve(std::string_view path) override;
    HostEntry Kind(std::string_view path) override;
    HostStatus ReadFile(std::string_view path, std::string& contents,
                        std::uint64_t maxBytes) override;
    HostStatus CreateFolder(std::string_view path) override;
    // Holds no links, so nothing below folder can lead elsewhere.
    HostStatus CopyFileBelow(std::string_view source, std::string_view folder,
                             std::string_view relative) override;
    HostStatus WriteFileAtomically(std::string_view path,
                                   const std::function<bool(std::ostream&)>& writer) override;
    HostStatus Identify(std::string_view path, FileIdentity& identity) override;

private:
    struct Entry {
        HostEntry kind = HostEntry::File;
        std::string bytes;
        std::uint64_t id = 0;
    };
    enum class Lookup { IgnoringCase, Exact };

    std::string Found(std::string_view path, Lookup lookup) const;
    // False when no entry anywhere bears path's last name in any case, so that path names
    // nothing: most names a fuzzed file gives, answered without folding the path.
    bool MayBeFound(std::string_view path) const;
    void NoteName(const std::string& key);
    const Entry* At(const std::string& key) const;
    // A new entry at key, taking the next id; what is there already is kept and returned.
    const Entry& Emplace(const std::string& key, Entry entry);
    // entry at key, replacing what is there.
    void Assign(const std::string& key, Entry entry);
    HostStatus Put(const std::string& key, std::string bytes);

    std::unordered_map<std::string, Entry> entries_;  // by folded path; "/" is the root
    // The keys of entries_ by CaselessKey, for the lookups without regard to case.
    std::unordered_map<std::string, std::vector<std::string>> caseless_;
    std::unordered_set<std::string> lowerNames_;  // the last name of every key, in lower case
    std::uint64_t nextId_ = 1;
};
