// The host layer: what both platforms share. hostfs_posix.cpp and hostfs_windows.cpp
// hold the two platforms; the build compiles only the one of its platform.
#include "classlib/core/hostfs.h"

std::string FailureReason(std::string_view action, std::string_view path, std::string_view words) {
    std::string reason(action);
    if (!path.empty()) {
        reason.append(reason.empty() ? "" : " ").append(path);
    }
    if (!words.empty()) {
        reason.append(reason.empty() ? "" : ": ").append(words);
    }
    return reason;
}

HostStatus HostStatus::Failure(Code code, std::string_view action, std::string_view path,
                               std::string_view words) {
    HostStatus status;
    status.code = code;
    status.reason = FailureReason(action, path, words);
    return status;
}

HostStatus HostFs::CopyFile(std::string_view source, std::string_view destination) {
    return CopyFileBelow(source, FolderOfPath(destination), FileNameOfPath(destination));
}

std::string NativeHostFs::CachedCurrentFolder() {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    if (currentFolder_.empty()) {
        currentFolder_ = CurrentFolder();
    }
    return currentFolder_;
}

std::optional<HostEntry> NativeHostFs::CachedKind(const std::string& key) {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    const auto found = kinds_.find(key);
    return found != kinds_.end() ? std::optional<HostEntry>(found->second) : std::nullopt;
}

void NativeHostFs::CacheKind(const std::string& key, HostEntry kind) {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    kinds_[key] = kind;
}

bool NativeHostFs::ResolvedFolder(const std::string& folderText, std::string& resolved,
                                  std::string& key) {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    const auto found = resolvedFolders_.find(folderText);
    if (found == resolvedFolders_.end()) {
        return false;
    }
    resolved = found->second.first;
    key = found->second.second;
    return true;
}

void NativeHostFs::KeepResolvedFolder(const std::string& folderText, const std::string& resolved,
                                      const std::string& key) {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    resolvedFolders_.try_emplace(folderText, resolved, key);
}

// Listed once per folder and object; the caller holds the cache's lock.
const NativeHostFs::FolderIndex& NativeHostFs::Listing(const std::string& folderKey) {
    if (auto found = listings_.find(folderKey); found != listings_.end()) {
        return found->second;
    }
    return listings_.emplace(folderKey, ListFolder(folderKey)).first->second;
}

// The single entry equal to the name without regard to case (the exact name
// when it alone is there), else the name as written: also when the folder
// cannot be listed, or holds the name in two spellings.
std::string NativeHostFs::ResolveComponent(const std::string& folderKey,
                                           std::string_view component) {
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    const FolderIndex& index = Listing(folderKey);
    const auto found = index.find(EntryKey(component));
    if (found == index.end() || found->second.size() != 1) {
        return std::string(component);
    }
    return found->second.front();
}

// After a create the listings of the new entry and of the folder holding it are
// dropped and taken afresh when next asked, on both platforms: simpler than
// patching a listing in place, and right whatever the entry's spelling on disk.
void NativeHostFs::NoteCreated(const std::string& key, HostEntry kind) {
#ifdef _WIN32
    constexpr char separator = '\\';
#else
    constexpr char separator = '/';
#endif
    if (key.empty()) {
        return;
    }
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    std::string trimmed = key;
    while (trimmed.size() > 1 && trimmed.back() == separator) {
        trimmed.pop_back();
    }
    kinds_.erase(trimmed + separator);
    kinds_[trimmed] = kind;
    resolvedFolders_.clear();  // a new entry may be the one match of a name written in other case
    listings_.erase(trimmed);
    if (const std::size_t slash = trimmed.rfind(separator); slash != std::string::npos) {
        listings_.erase(trimmed.substr(0, slash));
        listings_.erase(trimmed.substr(0, slash + 1));
    }
}

std::string NativeHostFs::Resolve(std::string_view path) {
    std::string key;
    return ResolveWithKey(path, key);
}
