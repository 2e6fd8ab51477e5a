// The POSIX host layer; hostfs_windows.cpp holds the Windows one, hostfs.cpp the shared part.
#include "classlib/core/hostfs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

#include "classlib/core/temporaryregistry.h"

namespace {

std::string ToHostSeparators(std::string_view path) {
    return WithHostSeparators(path);
}

std::string JoinKey(const std::string& folderKey, std::string_view name) {
    std::string key = folderKey;
    if (key.empty() || key.back() != '/') {
        key.push_back('/');
    }
    key.append(name);
    return key;
}

HostStatus SystemError(std::string_view action, std::string_view path, int error) {
    const auto code = (error == ENOENT || error == ENOTDIR) ? HostStatus::Code::NotFound
                                                            : HostStatus::Code::Failed;
    return HostStatus::Failure(code, action, path, std::strerror(error));
}

HostStatus Failed(std::string_view action, std::string_view path, int error) {
    HostStatus status = SystemError(action, path, error);
    status.code = HostStatus::Code::Failed;
    return status;
}

int OpenForReading(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
    ssize_t got;
    do {
        got = ::read(fd, buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// A temporary file in an open folder, removed again unless renamed into
// place, so that no failure or exception leaves one behind.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        CloseFd();
        if (!name_.empty() && !kept_) {
            ::unlinkat(folderFd_, name_.c_str(), 0);
        }
        ForgetTemporary(slot_);
        if (folderFd_ >= 0) {
            ::close(folderFd_);
        }
    }

    // Creates ".<name>.tamsk-XXXXXX" in the folder of target (links followed).
    bool Create(const std::string& target, mode_t mode) {
        const std::string folder(FolderOfPath(target));
        int folderFd;
        do {
            folderFd =
                ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        } while (folderFd < 0 && errno == EINTR);
        return folderFd >= 0 && CreateIn(folderFd, folder, FileNameOfPath(target), mode);
    }

    // Creates ".<name>.tamsk-XXXXXX" in the folder open as folderFd, which it
    // takes over; folderPath names it for the handler that removes the file
    // when the process is ended. mode is subject to the umask.
    bool CreateIn(int folderFd, const std::string& folderPath, std::string_view target,
                  mode_t mode) {
        folderFd_ = folderFd;
        static constexpr char kAlphabet[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        thread_local std::mt19937_64 random{std::random_device{}() ^
                                            static_cast<std::uint64_t>(::getpid())};
        // Long names are cut so that the temporary name stays within NAME_MAX.
        const std::string_view name = target.substr(0, 200);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = ".";
            candidate.append(name).append(".tamsk-");
            for (int i = 0; i < 6; ++i) {
                candidate.push_back(kAlphabet[random() % (sizeof kAlphabet - 1)]);
            }
            std::string path = folderPath;
            if (!path.empty() && path.back() != '/') {
                path.push_back('/');
            }
            path.append(candidate);
            const bool created = CreateRegisteredTemporary(
                path,
                [&] {
                    fd_ = ::openat(folderFd_, candidate.c_str(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
                    return fd_ >= 0;
                },
                slot_);
            if (created) {
                name_ = std::move(candidate);
                path_ = std::move(path);
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        errno = EEXIST;
        return false;
    }

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }

    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

    // Renames it to name in its own folder.
    bool RenameTo(std::string_view name) {
        if (::renameat(folderFd_, name_.c_str(), folderFd_, std::string(name).c_str()) != 0) {
            return false;
        }
        kept_ = true;
        ForgetTemporary(slot_);
        slot_ = -1;
        return true;
    }

private:
    void CloseFd() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    std::string name_;
    std::string path_;
    int folderFd_ = -1;
    int fd_ = -1;
    int slot_ = -1;
    bool kept_ = false;
};

class FdCloser {
public:
    explicit FdCloser(int fd) : fd_(fd) {}
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;
    ~FdCloser() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

private:
    int fd_;
};

// Reasons name the destination, not the temporary file that stands in for it.
HostStatus CopyBytes(int in, const std::string& source, TemporaryFile& out,
                     const std::string& destination) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ReadSome(in, buffer.data(), buffer.size());
        if (got < 0) {
            return Failed("cannot read", source, errno);
        }
        if (got == 0) {
            return HostStatus::Ok();
        }
        if (!WriteAll(out.fd(), buffer.data(), static_cast<std::size_t>(got))) {
            return Failed("cannot write", destination, errno);
        }
    }
}

// Opens path for reading and checks that it is a regular file, without
// blocking on a FIFO or device. On success fd is open and info describes it;
// the caller owns fd.
HostStatus OpenRegularFile(const std::string& path, int& fd, struct stat& info) {
    fd = OpenForReading(path);
    if (fd < 0) {
        return SystemError("cannot open", path, errno);
    }
    HostStatus status;
    if (::fstat(fd, &info) != 0) {
        status = Failed("cannot examine", path, errno);
    } else if (!S_ISREG(info.st_mode)) {
        status = HostStatus::Failure(HostStatus::Code::NotRegular, "", path, "not a regular file");
    }
    if (!status.ok()) {
        ::close(fd);
        fd = -1;
    }
    return status;
}

HostStatus LinkRefused(const std::string& path) {
    return HostStatus::Failure(HostStatus::Code::Failed, "", path, "is a link; not followed");
}

// Opens the folder component below the open folder dir without following a
// link, making it when it is missing. made tells whether it was made here.
HostStatus OpenFolderBelow(int dir, const std::string& component, const std::string& path,
                           int& opened, bool& made) {
    made = false;
    const auto open = [&] {
        do {
            opened =
                ::openat(dir, component.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        } while (opened < 0 && errno == EINTR);
        return opened >= 0;
    };
    if (open()) {
        return HostStatus::Ok();
    }
    if (errno == ENOENT) {
        if (::mkdirat(dir, component.c_str(), 0777) == 0) {
            made = true;
        } else if (errno != EEXIST) {
            return Failed("cannot create folder", path, errno);
        }
        if (open()) {
            return HostStatus::Ok();
        }
    }
    struct stat info {};
    if (::fstatat(dir, component.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(info.st_mode)) {
            return LinkRefused(path);
        }
        if (!S_ISDIR(info.st_mode)) {
            return Failed("cannot create folder", path, EEXIST);
        }
    }
    return Failed("cannot open folder", path, errno);
}

}  // namespace

std::string HostFs::CurrentFolder() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            return ToHostSeparators(buffer.data());
        }
        if (errno != ERANGE || buffer.size() > (std::size_t{1} << 24)) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string HostFs::SystemFolderPath(std::string_view folder) {
    const std::string text = folder.empty() ? std::string(".") : ToHostSeparators(folder);
    char* real = ::realpath(text.c_str(), nullptr);
    if (real == nullptr) {
        return {};
    }
    std::string path = real;
    std::free(real);
    return path;
}

NativeHostFs::FolderIndex NativeHostFs::ListFolder(const std::string& folderKey) {
    FolderIndex index;
    if (DIR* dir = ::opendir(folderKey.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") {
                index[AsciiLowered(name)].emplace_back(name);
            }
        }
        ::closedir(dir);
    }
    return index;
}

std::string NativeHostFs::EntryKey(std::string_view name) {
    return AsciiLowered(name);
}

// Components from start on, appended to resolved and key as the file system
// spells them (or as written, when Exact or when there is no unique match).
void NativeHostFs::ResolveComponents(std::string_view text, std::size_t start,
                                     std::string& resolved, std::string& key, Lookup lookup) {
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('/', start), text.size());
        const std::string_view component = text.substr(start, end - start);
        if (component.empty() || component == ".") {
            resolved.append(component);
        } else if (component == "..") {
            resolved.append(component);
            key = JoinKey(key, component);
        } else {
            const std::string name =
                lookup == Lookup::Exact ? std::string(component) : ResolveComponent(key, component);
            resolved.append(name);
            key = JoinKey(key, name);
        }
        if (end < text.size()) {
            resolved.push_back('/');
        }
        start = end + 1;
    }
}

std::string NativeHostFs::ResolveWithKey(std::string_view path, std::string& key, Lookup lookup) {
    const std::string text = ToHostSeparators(path);
    key.clear();
    if (text.empty()) {
        return text;
    }
    const bool absolute = text.front() == '/';
    key = absolute ? std::string("/") : CachedCurrentFolder();
    if (key.empty()) {
        return text;  // without a current folder a relative path cannot be matched
    }
    std::string resolved;
    resolved.reserve(text.size());
    // A load names thousands of files in a few folders: each folder's part is
    // resolved once, and only the last component is looked up again.
    const std::size_t slash = text.rfind('/');
    if (lookup == Lookup::IgnoringCase && slash != std::string::npos && slash > 0) {
        const std::string folderText = text.substr(0, slash + 1);
        if (!ResolvedFolder(folderText, resolved, key)) {
            ResolveComponents(std::string_view(text).substr(0, slash), 0, resolved, key, lookup);
            resolved.push_back('/');
            KeepResolvedFolder(folderText, resolved, key);
        }
        ResolveComponents(text, slash + 1, resolved, key, lookup);
    } else {
        ResolveComponents(text, 0, resolved, key, lookup);
    }
    if (text.back() == '/' && key.back() != '/') {
        key.push_back('/');  // "x/" names a folder only, so it must not share x's entry
    }
    return resolved;
}

HostEntry NativeHostFs::Kind(std::string_view path) {
    std::string key;
    const std::string resolved = ResolveWithKey(path, key);
    if (resolved.empty()) {
        return HostEntry::Missing;
    }
    if (!key.empty()) {
        if (const std::optional<HostEntry> kind = CachedKind(key)) {
            return *kind;
        }
    }
    struct stat info {};
    HostEntry kind = HostEntry::Missing;
    if (::stat(resolved.c_str(), &info) == 0) {
        kind = S_ISREG(info.st_mode)   ? HostEntry::File
               : S_ISDIR(info.st_mode) ? HostEntry::Folder
                                       : HostEntry::Other;
    }
    if (!key.empty()) {
        CacheKind(key, kind);
    }
    return kind;
}

HostStatus NativeHostFs::ReadFile(std::string_view path, std::string& contents,
                                  std::uint64_t maxBytes) {
    contents.clear();
    const std::string resolved = Resolve(path);
    int fd = -1;
    struct stat info {};
    if (HostStatus opened = OpenRegularFile(resolved, fd, info); !opened.ok()) {
        return opened;
    }
    FdCloser closer(fd);
    const auto tooLarge = [&] {
        contents.clear();
        return HostStatus::Failure(HostStatus::Code::TooLarge, "", resolved,
                                   "larger than " + std::to_string(maxBytes) + " bytes");
    };
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        return tooLarge();
    }
    // Read to the end rather than trusting the size: the file may change meanwhile.
    contents.resize(static_cast<std::size_t>(info.st_size));
    std::size_t length = 0;
    char spill[4096];
    for (;;) {
        const bool full = length == contents.size();
        char* into = full ? spill : contents.data() + length;
        const std::size_t room = full ? sizeof spill : contents.size() - length;
        const ssize_t got = ReadSome(fd, into, room);
        if (got < 0) {
            const int error = errno;
            contents.clear();
            return Failed("cannot read", resolved, error);
        }
        if (got == 0) {
            break;
        }
        if (full) {
            contents.append(spill, static_cast<std::size_t>(got));
        }
        length += static_cast<std::size_t>(got);
        if (length > maxBytes) {
            return tooLarge();
        }
    }
    contents.resize(length);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::CreateFolder(std::string_view path) {
    std::string key;
    const std::string exact = ResolveWithKey(path, key, Lookup::Exact);
    if (::mkdir(exact.c_str(), 0777) == 0) {
        NoteCreated(key, HostEntry::Folder);
        return HostStatus::Ok();
    }
    // Another process may have made it meanwhile: what counts is that it is there.
    const int error = errno;
    struct stat info {};
    if (::stat(exact.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return Failed("cannot create folder", exact, error);
    }
    if (!key.empty()) {
        CacheKind(key, HostEntry::Folder);
    }
    return HostStatus::Ok();
}

HostStatus NativeHostFs::CopyFileBelow(std::string_view source, std::string_view folder,
                                       std::string_view relative) {
    const std::string from = Resolve(source);
    int in = -1;
    struct stat sourceInfo {};
    if (HostStatus opened = OpenRegularFile(from, in, sourceInfo); !opened.ok()) {
        return opened;
    }
    FdCloser closer(in);
    const std::vector<std::string_view> components = PathComponents(relative);
    if (components.empty()) {
        return HostStatus::Failure(HostStatus::Code::Failed, "", from,
                                   "no destination file was named");
    }
    std::string key;
    std::string to =
        ResolveWithKey(folder.empty() ? std::string_view(".") : folder, key, Lookup::Exact);
    int dir;
    do {
        dir = ::open(to.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (dir < 0 && errno == EINTR);
    if (dir < 0) {
        return Failed("cannot open folder", to, errno);
    }
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        to = JoinKey(to, components[i]);
        key = JoinKey(key, components[i]);
        int next = -1;
        bool made = false;
        const HostStatus opened = OpenFolderBelow(dir, std::string(components[i]), to, next, made);
        ::close(dir);
        if (!opened.ok()) {
            return opened;
        }
        if (made) {
            NoteCreated(key, HostEntry::Folder);
        }
        dir = next;
    }
    const std::string name(components.back());
    const std::string folderPath = to;
    to = JoinKey(to, name);
    key = JoinKey(key, name);
    TemporaryFile temporary;
    struct stat destinationInfo {};
    if (::fstatat(dir, name.c_str(), &destinationInfo, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(destinationInfo.st_mode)) {
            ::close(dir);
            return LinkRefused(to);
        }
        if (destinationInfo.st_dev == sourceInfo.st_dev &&
            destinationInfo.st_ino == sourceInfo.st_ino) {
            ::close(dir);
            return HostStatus::Failure(HostStatus::Code::Failed, "", to,
                                       "source and destination are the same file");
        }
    }
    if (!temporary.CreateIn(dir, folderPath, name, 0600)) {
        return Failed("cannot create a temporary file for", to, errno);
    }
    if (HostStatus copied = CopyBytes(in, from, temporary, to); !copied.ok()) {
        return copied;
    }
    // Only the permission bits: set-user and set-group bits are not carried over.
    if (::fchmod(temporary.fd(), sourceInfo.st_mode & 0777) != 0) {
        return Failed("cannot set the permissions of", temporary.path(), errno);
    }
#ifdef __APPLE__
    const timespec times[2] = {sourceInfo.st_atimespec, sourceInfo.st_mtimespec};
#else
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
#endif
    if (::futimens(temporary.fd(), times) != 0) {
        return Failed("cannot set the modification time of", temporary.path(), errno);
    }
    if (!temporary.Close()) {
        return Failed("cannot write", to, errno);
    }
    if (!temporary.RenameTo(name)) {
        return Failed("cannot replace", to, errno);
    }
    NoteCreated(key, HostEntry::File);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::WriteFileAtomically(std::string_view path,
                                             const std::function<bool(std::ostream&)>& writer) {
    std::string key;
    const std::string target = ResolveWithKey(path, key, Lookup::Exact);
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    TemporaryFile temporary;
    if (!temporary.Create(target, 0666)) {
        return Failed("cannot create a temporary file for", target, errno);
    }
    // A rewritten file keeps its permissions; a new one gets the umask's.
    if (replacing && ::fchmod(temporary.fd(), existing.st_mode & 0777) != 0) {
        return Failed("cannot set the permissions of", temporary.path(), errno);
    }
    temporary.Close();
    std::ofstream out(temporary.path(), std::ios::out | std::ios::trunc);
    if (!out) {
        return Failed("cannot open", temporary.path(), errno);
    }
    if (!writer(out)) {
        return HostStatus::Failure(HostStatus::Code::Failed, "", target, "writing was abandoned");
    }
    out.flush();
    const bool written = static_cast<bool>(out);
    out.close();
    if (!written || out.fail()) {
        return Failed("cannot write", target, errno != 0 ? errno : EIO);
    }
    if (!temporary.RenameTo(FileNameOfPath(target))) {
        return Failed("cannot replace", target, errno);
    }
    NoteCreated(key, HostEntry::File);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::Identify(std::string_view path, FileIdentity& identity) {
    std::string key;
    const std::string exact = ResolveWithKey(path, key, Lookup::Exact);
    struct stat info {};
    if (::stat(exact.c_str(), &info) != 0) {
        return SystemError("cannot examine", exact, errno);
    }
    identity.volume = static_cast<std::uint64_t>(info.st_dev);
    identity.file = static_cast<std::uint64_t>(info.st_ino);
    return HostStatus::Ok();
}
