#include "depscan/projectpath.h"

#include "classlib/core/hostfs.h"

bool IsAbsolutePath(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    if (IsPathSeparator(path[0])) {
        return true;
    }
    const bool driveLetter =
        (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    return driveLetter && path.size() >= 2 && path[1] == ':';
}

std::string InProjectFolder(std::string_view projectFolder, std::string_view path) {
    if (IsAbsolutePath(path) || projectFolder.empty()) {
        return std::string(path);
    }
    std::string joined(projectFolder);
    if (!IsPathSeparator(joined.back())) {
        joined += '/';
    }
    joined += path;
    return joined;
}

std::string_view FolderOfPath(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}
