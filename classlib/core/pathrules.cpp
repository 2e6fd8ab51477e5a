#include "classlib/core/pathrules.h"

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

std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = AsciiLower(c);
    }
    return lowered;
}

std::string AsciiUppered(std::string_view text) {
    std::string uppered(text);
    for (char& c : uppered) {
        c = AsciiUpper(c);
    }
    return uppered;
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
