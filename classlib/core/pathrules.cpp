#include "classlib/core/pathrules.h"

#include <algorithm>

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::size_t NameStart(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            return i;
        }
    }
    return 0;
}

}  // namespace

bool SamePathText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(WithBackslash(a[i])) != AsciiLower(WithBackslash(b[i]))) {
            return false;
        }
    }
    return true;
}

bool IsAbsolutePath(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    return IsPathSeparator(path[0]) ||
           (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':');
}

std::string_view FolderOfPath(std::string_view path) {
    return path.substr(0, NameStart(path));
}

std::string_view FileNameOfPath(std::string_view path) {
    return path.substr(NameStart(path));
}

std::vector<std::string_view> PathComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    // Room for every component at once: paths are folded on every file a load names.
    parts.reserve(
        static_cast<std::size_t>(std::count_if(path.begin(), path.end(), IsPathSeparator)) + 1);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsPathSeparator(path[i])) {
            if (i > start) {
                parts.push_back(path.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return parts;
}

std::string LexicallyFolded(std::string_view path) {
    const std::string_view root = HostRootOf(path);
    const std::string_view rest = path.substr(root.size());
    const bool anchored = !root.empty() || (!rest.empty() && IsPathSeparator(rest[0]));
    const std::vector<std::string_view> parts = PathComponents(rest);
    std::vector<std::string_view> kept;
    kept.reserve(parts.size());
    for (std::string_view part : parts) {
        if (part == "..") {
            if (!kept.empty() && kept.back() != "..") {
                kept.pop_back();
            } else if (!anchored) {
                kept.push_back(part);
            }
        } else if (part != ".") {
            kept.push_back(part);
        }
    }
    std::string folded;
    folded.reserve(path.size() + 1);
    folded = root;
    folded += anchored ? "/" : "";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        folded += kept[i];
        folded += i + 1 < kept.size() ? "/" : "";
    }
    return folded;
}

std::string WithHostSeparators(std::string_view path) {
    std::string host(path);
    for (char& c : host) {
        c = IsPathSeparator(c) ? kHostSeparator : c;
    }
    return host;
}

std::string WithNativeSeparators(std::string_view path) {
#ifdef _WIN32
    std::string native(path);
    for (char& c : native) {
        c = IsPathSeparator(c) ? '\\' : c;
    }
    return native;
#else
    return std::string(path);
#endif
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty() && !IsPathSeparator(joined.back())) {
        joined += kHostSeparator;
    }
    joined += name;
    return joined;
}

std::string PathInFolder(std::string_view folder, std::string_view path) {
    if (IsAbsolutePath(path)) {
        return std::string(path);
    }
    return JoinPath(folder, path);
}

std::string_view HostRootOf(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
        return path.substr(0, 2);
    }
    if (path.size() > 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        std::size_t end = 2;
        for (int component = 0; component < 2 && end < path.size(); ++component) {
            const std::size_t next = path.find_first_of("\\/", end + 1);
            end = next == std::string_view::npos ? path.size() : next;
        }
        return path.substr(0, end);
    }
#endif
    return path.substr(0, 0);
}

bool IsHostAbsolutePath(std::string_view path) {
    return !HostRootOf(path).empty() || (!path.empty() && IsPathSeparator(path.front()));
}
