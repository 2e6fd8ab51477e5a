// The Windows host layer. The file system there already matches names without
// regard to case and takes '/' as a separator, so no listing is needed; the
// paths are ANSI code-page strings, as the rest of the program's.
#ifdef _WIN32

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "classlib/core/hostfs.h"

#include <windows.h>
#undef CopyFile  // the member of the host layer, not the Win32 macro

namespace {

namespace fs = std::filesystem;

HostStatus Status(HostStatus::Code code, std::string reason) {
    HostStatus status;
    status.code = code;
    status.reason = std::move(reason);
    return status;
}

HostStatus Failed(std::string_view action, const std::string& path, const std::error_code& error) {
    std::string reason(action);
    reason.append(" ").append(path).append(": ").append(error.message());
    return Status(HostStatus::Code::Failed, std::move(reason));
}

// A free name ".<name>.tamsk-XXXXXX" beside target.
std::string TemporaryNameBeside(const std::string& target) {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string folder(FolderOfPath(target));
    const std::string name = target.substr(folder.size(), 200);
    std::error_code ignored;
    for (;;) {
        std::string candidate = folder + "." + name + ".tamsk-";
        for (int i = 0; i < 6; ++i) {
            candidate.push_back(kAlphabet[random() % (sizeof kAlphabet - 1)]);
        }
        if (!fs::exists(candidate, ignored)) {
            return candidate;
        }
    }
}

void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

}  // namespace

std::string NativeHostFs::ResolveWithKey(std::string_view path, std::string& key, Lookup) {
    std::string resolved = WithHostSeparators(path);
    key = resolved;
    return resolved;
}

std::string NativeHostFs::Resolve(std::string_view path) {
    std::string key;
    return ResolveWithKey(path, key);
}

HostEntry NativeHostFs::Kind(std::string_view path) {
    const std::string resolved = Resolve(path);
    if (resolved.empty()) {
        return HostEntry::Missing;
    }
    if (auto found = kinds_.find(resolved); found != kinds_.end()) {
        return found->second;
    }
    std::error_code error;
    const fs::file_status status = fs::status(resolved, error);
    HostEntry kind = HostEntry::Missing;
    if (!error && fs::exists(status)) {
        kind = fs::is_regular_file(status) ? HostEntry::File
               : fs::is_directory(status)  ? HostEntry::Folder
                                           : HostEntry::Other;
    }
    kinds_.emplace(resolved, kind);
    return kind;
}

void NativeHostFs::NoteCreated(const std::string& key, HostEntry kind) {
    kinds_[key] = kind;
}

HostStatus NativeHostFs::ReadFile(std::string_view path, std::string& contents,
                                  std::uint64_t maxBytes) {
    contents.clear();
    const std::string resolved = Resolve(path);
    std::error_code error;
    const fs::file_status status = fs::status(resolved, error);
    if (!fs::exists(status)) {
        return Status(HostStatus::Code::NotFound, resolved + ": not found");
    }
    if (!fs::is_regular_file(status)) {
        return Status(HostStatus::Code::NotRegular, resolved + ": not a regular file");
    }
    const std::uintmax_t size = fs::file_size(resolved, error);
    if (error) {
        return Failed("cannot examine", resolved, error);
    }
    if (size > maxBytes) {
        return Status(HostStatus::Code::TooLarge,
                      resolved + ": larger than " + std::to_string(maxBytes) + " bytes");
    }
    std::ifstream in(resolved, std::ios::in | std::ios::binary);
    if (!in) {
        return Status(HostStatus::Code::Failed, "cannot open " + resolved);
    }
    contents.resize(static_cast<std::size_t>(size));
    in.read(contents.data(), static_cast<std::streamsize>(size));
    contents.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        contents.clear();
        return Status(HostStatus::Code::Failed, "cannot read " + resolved);
    }
    return HostStatus::Ok();
}

HostStatus NativeHostFs::CreateFolder(std::string_view path) {
    const std::string resolved = Resolve(path);
    std::error_code error;
    // A folder made by someone else meanwhile is as good as one made here.
    if (!fs::create_directory(resolved, error) && !fs::is_directory(resolved)) {
        return error ? Failed("cannot create folder", resolved, error)
                     : Status(HostStatus::Code::Failed, resolved + ": not a folder");
    }
    NoteCreated(resolved, HostEntry::Folder);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::CopyFile(std::string_view source, std::string_view destination) {
    const std::string from = Resolve(source);
    const std::string to = Resolve(destination);
    std::error_code error;
    const fs::file_status status = fs::status(from, error);
    if (!fs::exists(status)) {
        return Status(HostStatus::Code::NotFound, from + ": not found");
    }
    if (!fs::is_regular_file(status)) {
        return Status(HostStatus::Code::NotRegular, from + ": not a regular file");
    }
    std::error_code missing;  // equivalent() reports a missing destination as an error
    if (fs::equivalent(from, to, missing)) {
        return Status(HostStatus::Code::Failed, to + ": source and destination are the same file");
    }
    const std::string temporary = TemporaryNameBeside(to);
    if (!fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error)) {
        RemoveQuietly(temporary);
        return Failed("cannot copy to", to, error);
    }
    const auto modified = fs::last_write_time(from, error);
    if (!error) {
        fs::last_write_time(temporary, modified, error);
    }
    if (!error) {
        fs::rename(temporary, to, error);  // replaces an existing destination
    }
    if (error) {
        RemoveQuietly(temporary);
        return Failed("cannot replace", to, error);
    }
    NoteCreated(to, HostEntry::File);
    return HostStatus::Ok();
}

HostStatus NativeHostFs::WriteFileAtomically(std::string_view path,
                                             const std::function<bool(std::ostream&)>& writer) {
    const std::string target = Resolve(path);
    const std::string temporary = TemporaryNameBeside(target);
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc);
        if (!out) {
            RemoveQuietly(temporary);
            return Status(HostStatus::Code::Failed, "cannot create a temporary file for " + target);
        }
        if (!writer(out)) {
            out.close();
            RemoveQuietly(temporary);
            return Status(HostStatus::Code::Failed, target + ": writing was abandoned");
        }
        out.close();
        if (out.fail()) {
            RemoveQuietly(temporary);
            return Status(HostStatus::Code::Failed, "cannot write " + temporary);
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        RemoveQuietly(temporary);
        return Failed("cannot replace", target, error);
    }
    NoteCreated(target, HostEntry::File);
    return HostStatus::Ok();
}

std::string HostFs::CurrentFolder() {
    std::error_code error;
    std::string folder = fs::current_path(error).string();
    if (error) {
        return {};
    }
    return WithHostSeparators(folder);
}

HostStatus NativeHostFs::Identify(std::string_view path, FileIdentity& identity) {
    const std::string resolved = Resolve(path);
    const HANDLE file =
        ::CreateFileA(resolved.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Status(HostStatus::Code::NotFound, "cannot examine " + resolved);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(file, &info) != 0;
    ::CloseHandle(file);
    if (!known) {
        return Status(HostStatus::Code::Failed, "cannot examine " + resolved);
    }
    identity.volume = info.dwVolumeSerialNumber;
    identity.file = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    return HostStatus::Ok();
}

#endif  // _WIN32
