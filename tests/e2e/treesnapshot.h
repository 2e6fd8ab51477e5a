#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// What a folder holds, entry by entry, with a checksum of every regular
// file's bytes, to show that a run changed nothing it must not change. The
// walk goes through folder descriptors, so paths of any total length work;
// symbolic links, FIFOs and devices are recorded by kind and never opened.
// Header-only, for the e2e tests.
namespace treesnapshot {

struct Entry {
    char kind = '?';  // 'f' file, 'd' folder, 'l' link, 'p' FIFO, 'c'/'b' device, '?' other
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;  // FNV-1a of a file's bytes; a link's target
    mode_t mode = 0;

    bool operator==(const Entry&) const = default;
};

using Snapshot = std::map<std::string, Entry>;

inline std::uint64_t Fnv1a(std::uint64_t hash, const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

inline constexpr std::uint64_t kFnvBasis = 14695981039346656037ull;

inline std::uint64_t FileChecksum(int folder, const char* name) {
    const int fd = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return 0;
    }
    std::uint64_t hash = kFnvBasis;
    static thread_local char buffer[1 << 16];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        hash = Fnv1a(hash, buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return hash;
}

inline void Walk(int folder, const std::string& prefix, Snapshot& snapshot) {
    DIR* listing = fdopendir(dup(folder));
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        if (fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        const std::string path = prefix + std::string(name);
        Entry& e = snapshot[path];
        e.mode = info.st_mode & 07777;
        if (S_ISREG(info.st_mode)) {
            e.kind = 'f';
            e.size = static_cast<std::uint64_t>(info.st_size);
            e.checksum = FileChecksum(folder, entry->d_name);
        } else if (S_ISDIR(info.st_mode)) {
            e.kind = 'd';
            const int sub = openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
            if (sub >= 0) {
                Walk(sub, path + "/", snapshot);
                close(sub);
            }
        } else if (S_ISLNK(info.st_mode)) {
            e.kind = 'l';
            char target[4096];
            const ssize_t n = readlinkat(folder, entry->d_name, target, sizeof target);
            e.checksum = Fnv1a(kFnvBasis, target, n > 0 ? static_cast<std::size_t>(n) : 0);
        } else if (S_ISFIFO(info.st_mode)) {
            e.kind = 'p';
        } else if (S_ISCHR(info.st_mode)) {
            e.kind = 'c';
        } else if (S_ISBLK(info.st_mode)) {
            e.kind = 'b';
        }
    }
    closedir(listing);
}

// Every entry below root, keyed by its path relative to root.
inline Snapshot Take(const std::string& root) {
    Snapshot snapshot;
    const int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        Walk(fd, "", snapshot);
        close(fd);
    }
    return snapshot;
}

// The entries below root whose path does not start with any of the prefixes.
inline Snapshot Without(Snapshot snapshot, std::initializer_list<std::string_view> prefixes) {
    std::erase_if(snapshot, [&](const auto& entry) {
        for (std::string_view prefix : prefixes) {
            if (std::string_view(entry.first).starts_with(prefix)) {
                return true;
            }
        }
        return false;
    });
    return snapshot;
}

// Removes everything below and including path relative to folder, through
// descriptors (std::filesystem gives up on paths past PATH_MAX).
inline void RemoveTree(int folder, const char* name) {
    const int sub = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (sub >= 0) {
        fchmod(sub, 0700);
        if (DIR* listing = fdopendir(dup(sub))) {
            while (const dirent* entry = readdir(listing)) {
                const std::string_view child = entry->d_name;
                if (child != "." && child != "..") {
                    RemoveTree(sub, entry->d_name);
                }
            }
            closedir(listing);
        }
        close(sub);
        unlinkat(folder, name, AT_REMOVEDIR);
    } else {
        unlinkat(folder, name, 0);
    }
}

}  // namespace treesnapshot
