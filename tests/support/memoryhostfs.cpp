#include "tests/support/memoryhostfs.h"

#include "classlib/core/asciicase.h"
#include "classlib/core/pathrules.h"

#include <sstream>

namespace {

HostStatus Status(HostStatus::Code code, std::string_view path, std::string_view why) {
    return {code, std::string(path) + ": " + std::string(why)};
}

std::string ParentKey(const std::string& key) {
    const std::size_t slash = key.rfind('/');
    return slash == 0 ? "/" : key.substr(0, slash);
}

// path folded below the memory root, whether it starts with a separator or not. Joined
// behind "/" as text, a leading separator would read as a network share on Windows.
std::string RootedKey(std::string_view path) {
    std::string rooted = "/";
    for (std::string_view component : PathComponents(path)) {
        rooted.append(component).append("/");
    }
    return LexicallyFolded(rooted);
}

// The key with its last component in lower case: the same for every entry of a folder whose
// names differ only in case.
std::string CaselessKey(std::string_view key) {
    const std::size_t name = key.rfind('/') + 1;
    return std::string(key.substr(0, name)) + AsciiLowered(key.substr(name));
}

// True when path is its own folded form, as the readers mostly give paths: rooted, '/' only, no
// empty, "." or ".." component. A name that begins with '.' is merely folded again.
bool IsFolded(std::string_view path) {
    return path.size() > 1 && path.front() == '/' && path.back() != '/' &&
           path.find('\\') == path.npos && path.find("//") == path.npos &&
           path.find("/.") == path.npos;
}

}  // namespace

MemoryHostFs::MemoryHostFs() {
    Clear();
}

void MemoryHostFs::Clear() {
    entries_.clear();
    caseless_.clear();
    lowerNames_.clear();
    entries_["/"] = {HostEntry::Folder, {}, 0};
}

void MemoryHostFs::AddFile(std::string_view path, std::string_view bytes) {
    const std::string key = RootedKey(path);
    for (std::size_t slash = key.find('/', 1); slash != std::string::npos;
         slash = key.find('/', slash + 1)) {
        Emplace(key.substr(0, slash), Entry{HostEntry::Folder, {}, nextId_});
    }
    Assign(key, {HostEntry::File, std::string(bytes), nextId_++});
}

std::map<std::string, std::string> MemoryHostFs::Files() const {
    std::map<std::string, std::string> files;
    for (const auto& [key, entry] : entries_) {
        if (entry.kind == HostEntry::File) {
            files[key] = entry.bytes;
        }
    }
    return files;
}

// The folded key of path; each component not found exactly is taken as the single entry of its
// folder that matches it without regard to case, when there is one.
std::string MemoryHostFs::Found(std::string_view path, Lookup lookup) const {
    const std::string folded = IsFolded(path) ? std::string(path) : RootedKey(path);
    if (entries_.contains(folded)) {
        return folded;  // so is every folder above it: the walk below would find the same
    }
    std::string key;
    for (std::string_view component : PathComponents(folded)) {
        std::string exact = key + "/" + std::string(component);
        if (lookup == Lookup::Exact || entries_.contains(exact)) {
            key = std::move(exact);
            continue;
        }
        const auto matches = caseless_.find(CaselessKey(exact));
        key = matches != caseless_.end() && matches->second.size() == 1 ? matches->second.front()
                                                                        : exact;
    }
    return key.empty() ? "/" : key;
}

const MemoryHostFs::Entry& MemoryHostFs::Emplace(const std::string& key, Entry entry) {
    const auto [it, made] = entries_.try_emplace(key, std::move(entry));
    if (made) {
        NoteName(key);
        ++nextId_;
    }
    return it->second;
}

void MemoryHostFs::Assign(const std::string& key, Entry entry) {
    const auto [it, made] = entries_.insert_or_assign(key, std::move(entry));
    if (made) {
        NoteName(key);
    }
}

void MemoryHostFs::NoteName(const std::string& key) {
    caseless_[CaselessKey(key)].push_back(key);
    lowerNames_.insert(AsciiLowered(FileNameOfPath(key)));
}

bool MemoryHostFs::MayBeFound(std::string_view path) const {
    const std::string_view name = FileNameOfPath(path);
    return name.empty() || name == "." || name == ".." || lowerNames_.contains(AsciiLowered(name));
}

const MemoryHostFs::Entry* MemoryHostFs::At(const std::string& key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

std::string MemoryHostFs::Resolve(std::string_view path) {
    return Found(path, Lookup::IgnoringCase);
}

HostEntry MemoryHostFs::Kind(std::string_view path) {
    if (!MayBeFound(path)) {
        return HostEntry::Missing;
    }
    const Entry* entry = At(Found(path, Lookup::IgnoringCase));
    return entry == nullptr ? HostEntry::Missing : entry->kind;
}

HostStatus MemoryHostFs::ReadFile(std::string_view path, std::string& contents,
                                  std::uint64_t maxBytes) {
    contents.clear();
    const std::string key = Found(path, Lookup::IgnoringCase);
    const Entry* entry = At(key);
    if (entry == nullptr) {
        return Status(HostStatus::Code::NotFound, "cannot open " + key,
                      "No such file or directory");
    }
    if (entry->kind != HostEntry::File) {
        return Status(HostStatus::Code::NotRegular, key, "not a regular file");
    }
    if (entry->bytes.size() > maxBytes) {
        return Status(HostStatus::Code::TooLarge, key,
                      "larger than " + std::to_string(maxBytes) + " bytes");
    }
    contents = entry->bytes;
    return HostStatus::Ok();
}

HostStatus MemoryHostFs::CreateFolder(std::string_view path) {
    const std::string key = Found(path, Lookup::Exact);
    const Entry* parent = At(ParentKey(key));
    if (parent == nullptr || parent->kind != HostEntry::Folder) {
        return Status(HostStatus::Code::NotFound, "cannot create folder " + key,
                      "No such file or directory");
    }
    const Entry& entry = Emplace(key, Entry{HostEntry::Folder, {}, nextId_});
    return entry.kind == HostEntry::Folder
               ? HostStatus::Ok()
               : Status(HostStatus::Code::Failed, "cannot create folder " + key, "File exists");
}

HostStatus MemoryHostFs::Put(const std::string& key, std::string bytes) {
    const Entry* parent = At(ParentKey(key));
    if (parent == nullptr || parent->kind != HostEntry::Folder) {
        return Status(HostStatus::Code::Failed, "cannot create a temporary file for " + key,
                      "No such file or directory");
    }
    if (const Entry* old = At(key); old != nullptr && old->kind != HostEntry::File) {
        return Status(HostStatus::Code::Failed, "cannot replace " + key, "Is a directory");
    }
    Assign(key, {HostEntry::File, std::move(bytes), nextId_++});
    return HostStatus::Ok();
}

HostStatus MemoryHostFs::CopyFileBelow(std::string_view source, std::string_view folder,
                                       std::string_view relative) {
    std::string bytes;
    if (HostStatus read = ReadFile(source, bytes, kDefaultMaxRead); !read.ok()) {
        return read;
    }
    std::string destination(folder);
    for (const std::string_view component : PathComponents(FolderOfPath(relative))) {
        destination.append("/").append(component);
        if (HostStatus made = CreateFolder(destination); !made.ok()) {
            return made;
        }
    }
    destination.append("/").append(FileNameOfPath(relative));
    const std::string to = Found(destination, Lookup::Exact);
    if (to == Found(source, Lookup::IgnoringCase)) {
        return Status(HostStatus::Code::Failed, to, "source and destination are the same file");
    }
    return Put(to, std::move(bytes));
}

HostStatus MemoryHostFs::WriteFileAtomically(std::string_view path,
                                             const std::function<bool(std::ostream&)>& writer) {
    std::ostringstream text;
    const std::string key = Found(path, Lookup::Exact);
    if (!writer(text)) {
        return Status(HostStatus::Code::Failed, key, "writing was abandoned");
    }
    return Put(key, text.str());
}

HostStatus MemoryHostFs::Identify(std::string_view path, FileIdentity& identity) {
    const std::string key = Found(path, Lookup::Exact);
    const Entry* entry = At(key);
    if (entry == nullptr) {
        return Status(HostStatus::Code::NotFound, "cannot examine " + key,
                      "No such file or directory");
    }
    identity = {0, entry->id};
    return HostStatus::Ok();
}
