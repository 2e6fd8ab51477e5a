// The Windows host layer; hostfs_posix.cpp holds the POSIX one, hostfs.cpp the shared part.
//
// Paths are UTF-8 inside the program and UTF-16 at the Win32 boundary, so
// names with non-ASCII characters survive; utf16.h says how bytes that are
// not UTF-8 are read.
// Every path is made absolute and given the "\\?\" prefix before it reaches
// the file system, so paths longer than MAX_PATH work. The file system itself
// matches names without regard to case, so no folder listing is needed.

#include <windows.h>
// windows.h names CopyFileA or CopyFileW through this macro; HostFs has its own.
#undef CopyFile

#include <algorithm>
#include <deque>
#include <random>
#include <streambuf>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/temporaryregistry.h"
#include "classlib/core/utf16.h"

namespace {

// --- Text at the boundary -------------------------------------------------

std::string ToForwardSlashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// --- Paths ------------------------------------------------------------------

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Anchored at a drive or a server: "C:\x", "\x", "\\server\share\x".
// ("C:x" is relative to drive C's own current folder and left to Windows.)
bool IsAnchored(std::wstring_view path) {
    return (!path.empty() && path[0] == L'\\') || (path.size() >= 2 && path[1] == L':');
}

// How much of a '/'-separated path names its drive or share, which keeps
// the case written: "C:/", "C:", "//server/share/", "/", or nothing.
std::size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') {
        return path.size() > 2 && path[2] == '/' ? 3 : 2;
    }
    if (path.substr(0, 2) == "//") {
        std::size_t end = 1;
        for (int component = 0; component < 2 && end < path.size(); ++component) {
            end = std::min(path.find('/', end + 1), path.size());
        }
        return std::min(end + 1, path.size());
    }
    return path.substr(0, 1) == "/" ? 1 : 0;
}

std::wstring FullPathName(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full;
    while (size > full.size()) {
        full.resize(size);
        size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    }
    full.resize(size);
    return full;
}

// The path as the Win32 wide API takes it at any length: absolute ("." and
// ".." folded against currentFolder for a relative path) with the "\\?\" or
// "\\?\UNC\" prefix. Paths already in the "\\?\" or device namespace stay.
std::wstring Win32Path(std::string_view utf8, const std::string& currentFolder) {
    std::wstring path = Widen(utf8);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.empty() || StartsWith(path, kLongPrefix) || StartsWith(path, kDevicePrefix)) {
        return path;
    }
    if (!IsAnchored(path) && !currentFolder.empty()) {
        std::wstring base = Widen(currentFolder);
        std::replace(base.begin(), base.end(), L'/', L'\\');
        path = base + L'\\' + path;
    }
    const std::wstring full = FullPathName(path);
    if (full.empty() || StartsWith(full, kDevicePrefix)) {
        return full.empty() ? path : full;  // reserved names ("con.h") are devices
    }
    if (StartsWith(full, L"\\\\")) {
        return std::wstring(kLongUncPrefix) + full.substr(2);
    }
    return std::wstring(kLongPrefix) + full;
}

// The cache key of a Win32 path: the file system ignores case, so does the key.
std::string CaseFoldedKey(std::wstring path) {
    // Invariant upper case, close to the file system's own case table (kernel32 only).
    const int size = static_cast<int>(path.size());
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, path.data(), size, path.data(), size);
    return Narrow(path);
}

// The name to show in messages: without the "\\?\" prefix, '/' separated.
std::string DisplayName(std::wstring_view path) {
    if (StartsWith(path, kLongUncPrefix)) {
        return ToForwardSlashes("\\\\" + Narrow(path.substr(kLongUncPrefix.size())));
    }
    if (StartsWith(path, kLongPrefix)) {
        path.remove_prefix(kLongPrefix.size());
    }
    return ToForwardSlashes(Narrow(path));
}

// --- Errors -----------------------------------------------------------------

std::string SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message(buffer, length);
    LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' ')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

bool IsNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME;
}

HostStatus SystemError(std::string_view action, const std::wstring& path, DWORD error) {
    return HostStatus::Failure(
        IsNotFound(error) ? HostStatus::Code::NotFound : HostStatus::Code::Failed, action,
        DisplayName(path), SystemMessage(error));
}

HostStatus Failed(std::string_view action, const std::wstring& path, DWORD error) {
    HostStatus status = SystemError(action, path, error);
    status.code = HostStatus::Code::Failed;
    return status;
}

// --- Handles ----------------------------------------------------------------

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

// Opens for reading without keeping others from writing, renaming or
// deleting the file; folders open too, so that they can be told apart.
HANDLE OpenExisting(const std::wstring& path, DWORD access) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool IsRegularFile(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileType(handle) == FILE_TYPE_DISK &&
           (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Opens path for reading and checks that it is a regular file: folders,
// devices and pipes give NotRegular. On success file is open and info
// describes it.
HostStatus OpenRegularFile(const std::wstring& path, Handle& file,
                           BY_HANDLE_FILE_INFORMATION& info) {
    if (StartsWith(path, kDevicePrefix)) {  // not opened: a device may block
        return HostStatus::Failure(HostStatus::Code::NotRegular, "", DisplayName(path),
                                   "not a regular file");
    }
    file.Reset(OpenExisting(path, GENERIC_READ));
    if (!file.valid()) {
        return SystemError("cannot open", path, GetLastError());
    }
    if (!GetFileInformationByHandle(file.get(), &info)) {
        const DWORD error = GetLastError();
        file.Close();
        return Failed("cannot examine", path, error);
    }
    if (!IsRegularFile(file.get(), info)) {
        file.Close();
        return HostStatus::Failure(HostStatus::Code::NotRegular, "", DisplayName(path),
                                   "not a regular file");
    }
    return HostStatus::Ok();
}

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

bool IdentityOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    const Handle file(OpenExisting(path, FILE_READ_ATTRIBUTES));
    return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

std::uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(file, data, chunk, &put, nullptr)) {
            return false;
        }
        data += put;
        size -= put;
    }
    return true;
}

// A temporary file beside target, removed again unless renamed into place,
// so that no failure leaves one behind.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.Close();
        if (!path_.empty() && !kept_) {
            DeleteFileW(path_.c_str());
        }
        ForgetTemporary(slot_);
    }

    // Creates ".<name>.tamsk-XXXXXX" in target's folder.
    bool Create(const std::wstring& target) {
        static constexpr wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
        thread_local std::mt19937_64 random{std::random_device{}() ^ GetCurrentProcessId()};
        const std::size_t slash = target.rfind(L'\\');
        const std::wstring folder = target.substr(0, slash + 1);
        // Cut so that the temporary name stays within a component's 255 units.
        const std::wstring name = target.substr(folder.size(), 200);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring candidate = folder + L"." + name + L".tamsk-";
            for (int i = 0; i < 6; ++i) {
                candidate.push_back(kAlphabet[random() % (std::size(kAlphabet) - 1)]);
            }
            // Shared for deleting only: Ctrl+C may remove it while it is written.
            const bool created = CreateRegisteredTemporary(
                candidate,
                [&] {
                    file_.Reset(CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
                    return file_.valid();
                },
                slot_);
            if (created) {
                path_ = std::move(candidate);
                return true;
            }
            if (GetLastError() != ERROR_FILE_EXISTS) {
                return false;
            }
        }
        return false;
    }

    HANDLE handle() const { return file_.get(); }
    const std::wstring& path() const { return path_; }
    bool Close() { return file_.Close(); }

    // Replaces an existing target; fails, leaving the target as it was, when
    // it cannot (a read-only or open target, a folder of that name).
    bool RenameTo(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return false;
        }
        kept_ = true;
        ForgetTemporary(slot_);
        slot_ = -1;
        return true;
    }

private:
    Handle file_;
    std::wstring path_;
    int slot_ = -1;
    bool kept_ = false;
};

// A buffered output stream over a Win32 handle, so that writers stream
// straight into the temporary file. Bytes pass unchanged (no CR LF added).
class HandleStreamBuf : public std::streambuf {
public:
    explicit HandleStreamBuf(HANDLE file) : file_(file), buffer_(1 << 16) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

protected:
    int_type overflow(int_type c) override {
        if (!Flush()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    bool Flush() {
        const bool written = WriteAll(file_, pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return written;
    }

    HANDLE file_;
    std::vector<char> buffer_;
};

HostStatus CopyBytes(HANDLE in, const std::wstring& source, TemporaryFile& out) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            return Failed("cannot read", source, GetLastError());
        }
        if (got == 0) {
            return HostStatus::Ok();
        }
        if (!WriteAll(out.handle(), buffer.data(), got)) {
            return Failed("cannot write", out.path(), GetLastError());
        }
    }
}

HostEntry EntryOf(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return HostEntry::Missing;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return HostEntry::Folder;
    }
    return (attributes & FILE_ATTRIBUTE_DEVICE) ? HostEntry::Other : HostEntry::File;
}

}  // namespace

std::string HostFs::CurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) {
        return {};
    }
    folder.resize(length);
    return DisplayName(folder);
}

// The system folds ".." as text itself.
std::string HostFs::SystemFolderPath(std::string_view folder) {
    const std::wstring wide = Widen(folder.empty() ? std::string_view(".") : folder);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return {};
    }
    full.resize(length);
    return DisplayName(full);
}

// Names are keyed by their upper-case spelling, as the file system compares them.
NativeHostFs::FolderIndex NativeHostFs::ListFolder(const std::string& folderKey) {
    FolderIndex index;
    WIN32_FIND_DATAW entry;
    std::wstring pattern = Widen(folderKey);
    pattern.append(pattern.empty() || pattern.back() != L'\\' ? L"\\*" : L"*");
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring_view name = entry.cFileName;
            if (name != L"." && name != L"..") {
                index[CaseFoldedKey(std::wstring(name))].push_back(Narrow(name));
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    return index;
}

std::string NativeHostFs::EntryKey(std::string_view name) {
    return CaseFoldedKey(Widen(name));
}

// Each component after the drive or share takes the case it has on disk, so
// that one file named in two spellings is known as one.
std::string NativeHostFs::ResolveWithKey(std::string_view path, std::string& key, Lookup lookup) {
    const std::string text = ToForwardSlashes(std::string(path));
    key = CaseFoldedKey(Win32Path(text, CachedCurrentFolder()));
    const std::size_t rootLength = RootLength(text);
    std::string resolved = text.substr(0, rootLength);
    std::string folder = rootLength == 0 ? CachedCurrentFolder() : resolved;
    for (std::size_t start = rootLength; start < text.size();) {
        const std::size_t end = std::min(text.find('/', start), text.size());
        const std::string_view component(text.data() + start, end - start);
        // What Tamsk writes keeps the case it was given.
        const bool plain = lookup == Lookup::IgnoringCase && !component.empty() &&
                           component != "." && component != ".." &&
                           component.find_first_of("*?") == std::string_view::npos;
        const std::string name =
            plain ? ResolveComponent(CaseFoldedKey(Win32Path(folder, {})), component)
                  : std::string(component);
        resolved.append(name);
        if (!folder.empty() && folder.back() != '/' && folder.back() != ':') {
            folder.push_back('/');  // "C:" stays drive-relative
        }
        folder.append(name);
        if (end < text.size()) {
            resolved.push_back('/');
        }
        start = end + 1;
    }
    return resolved;
}

HostEntry NativeHostFs::Kind(std::string_view path) {
    if (path.empty()) {
        return HostEntry::Missing;
    }
    const std::wstring host = Win32Path(path, CachedCurrentFolder());
    const std::string key = CaseFoldedKey(host);
    if (const std::optional<HostEntry> kind = CachedKind(key)) {
        return *kind;
    }
    const HostEntry kind = StartsWith(host, kDevicePrefix)
                               ? HostEntry::Other
                               : EntryOf(GetFileAttributesW(host.c_str()));
    CacheKind(key, kind);
    return kind;
}

HostStatus NativeHostFs::ReadFile(std::string_view path, std::string& contents,
                                  std::uint64_t maxBytes) {
    contents.clear();
    const std::wstring host = Win32Path(path, CachedCurrentFolder());
    Handle file;
    BY_HANDLE_FILE_INFORMATION info{};
    if (HostStatus opened = OpenRegularFile(host, file, info); !opened.ok()) {
        return opened;
    }
    const auto tooLarge = [&] {
        contents.clear();
        return HostStatus::Failure(HostStatus::Code::TooLarge, "", DisplayName(host),
                                   "larger than " + std::to_string(maxBytes) + " bytes");
    };
    if (SizeOf(info) > maxBytes) {
        return tooLarge();
    }
    // Read to the end rather than trusting the size: the file may change meanwhile.
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                        nullptr)) {
            const DWORD error = GetLastError();
            contents.clear();
            return Failed("cannot read", host, error);
        }
        if (got == 0) {
            return HostStatus::Ok();
        }
        contents.append(buffer.data(), got);
        if (contents.size() > maxBytes) {
            return tooLarge();
        }
    }
}

HostStatus NativeHostFs::CreateFolder(std::string_view path) {
    const std::wstring host = Win32Path(path, CachedCurrentFolder());
    if (!CreateDirectoryW(host.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        // Made by someone else meanwhile, or a drive's root: there all the same.
        const DWORD attributes = GetFileAttributesW(host.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return Failed("cannot create folder", host, error);
        }
    }
    NoteCreated(CaseFoldedKey(host), HostEntry::Folder);
    return HostStatus::Ok();
}

// Links need a privilege here, but a user may have made one (or a junction):
// each folder below folder is opened without following a reparse point and
// held open, not shared for deleting, until the file is in place, so that
// none can be swapped for a link meanwhile.
HostStatus NativeHostFs::CopyFileBelow(std::string_view source, std::string_view folder,
                                       std::string_view relative) {
    const std::wstring from = Win32Path(source, CachedCurrentFolder());
    Handle in;
    BY_HANDLE_FILE_INFORMATION sourceInfo{};
    if (HostStatus opened = OpenRegularFile(from, in, sourceInfo); !opened.ok()) {
        return opened;
    }
    const std::vector<std::string_view> components = PathComponents(relative);
    if (components.empty()) {
        return HostStatus::Failure(HostStatus::Code::Failed, "", DisplayName(from),
                                   "no destination file was named");
    }
    std::string path(folder.empty() ? std::string_view(".") : folder);
    std::deque<Handle> held;
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        path = ToForwardSlashes(path);
        if (path.back() != '/') {
            path.push_back('/');
        }
        path.append(components[i]);
        const std::wstring host = Win32Path(path, CachedCurrentFolder());
        if (CreateDirectoryW(host.c_str(), nullptr)) {
            NoteCreated(CaseFoldedKey(host), HostEntry::Folder);
        } else if (const DWORD error = GetLastError(); error != ERROR_ALREADY_EXISTS) {
            return Failed("cannot create folder", host, error);
        }
        Handle& opened = held.emplace_back(CreateFileW(
            host.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!opened.valid() || !GetFileInformationByHandle(opened.get(), &info)) {
            return Failed("cannot open folder", host, GetLastError());
        }
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            return HostStatus::Failure(HostStatus::Code::Failed, "", DisplayName(host),
                                       "is a link; not followed");
        }
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return Failed("cannot create folder", host, ERROR_ALREADY_EXISTS);
        }
    }
    path = ToForwardSlashes(path);
    if (path.back() != '/') {
        path.push_back('/');
    }
    path.append(components.back());
    const std::wstring to = Win32Path(path, CachedCurrentFolder());
    const DWORD existing = GetFileAttributesW(to.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return HostStatus::Failure(HostStatus::Code::Failed, "", DisplayName(to),
                                   "is a link; not followed");
    }
    BY_HANDLE_FILE_INFORMATION destinationInfo{};
    if (IdentityOf(to, destinationInfo) && SameIdentity(sourceInfo, destinationInfo)) {
        return HostStatus::Failure(HostStatus::Code::Failed, "", DisplayName(to),
                                   "source and destination are the same file");
    }
    TemporaryFile temporary;
    if (!temporary.Create(to)) {
        return Failed("cannot create a temporary file for", to, GetLastError());
    }
    if (HostStatus copied = CopyBytes(in.get(), from, temporary); !copied.ok()) {
        return copied;
    }
    if (!SetFileTime(temporary.handle(), nullptr, nullptr, &sourceInfo.ftLastWriteTime)) {
        return Failed("cannot set the modification time of", temporary.path(), GetLastError());
    }
    if (!temporary.Close()) {
        return Failed("cannot write", temporary.path(), GetLastError());
    }
    if (!temporary.RenameTo(to)) {
        return Failed("cannot replace", to, GetLastError());
    }
    NoteCreated(CaseFoldedKey(to), HostEntry::File);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::WriteFileAtomically(std::string_view path,
                                             const std::function<bool(std::ostream&)>& writer) {
    const std::wstring target = Win32Path(path, CachedCurrentFolder());
    TemporaryFile temporary;
    if (!temporary.Create(target)) {
        return Failed("cannot create a temporary file for", target, GetLastError());
    }
    HandleStreamBuf buffer(temporary.handle());
    std::ostream out(&buffer);
    if (!writer(out)) {
        return HostStatus::Failure(HostStatus::Code::Failed, "", DisplayName(target),
                                   "writing was abandoned");
    }
    out.flush();
    if (!out) {
        return Failed("cannot write", temporary.path(), GetLastError());
    }
    if (!temporary.Close()) {
        return Failed("cannot write", temporary.path(), GetLastError());
    }
    if (!temporary.RenameTo(target)) {
        return Failed("cannot replace", target, GetLastError());
    }
    NoteCreated(CaseFoldedKey(target), HostEntry::File);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::Identify(std::string_view path, FileIdentity& identity) {
    const std::wstring host = Win32Path(path, CachedCurrentFolder());
    BY_HANDLE_FILE_INFORMATION info{};
    if (!IdentityOf(host, info)) {
        const DWORD error = GetLastError();
        return IsNotFound(error) ? HostStatus::Failure(HostStatus::Code::NotFound, "",
                                                       DisplayName(host), "not found")
                                 : Failed("cannot examine", host, error);
    }
    identity.volume = info.dwVolumeSerialNumber;
    identity.file = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return HostStatus::Ok();
}
