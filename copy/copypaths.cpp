#include "copy/copypaths.h"

#include <algorithm>
#include <vector>

#include "classlib/core/hostfs.h"

namespace {

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
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

void Fold(std::vector<std::string_view>& stack, std::string_view path) {
    for (std::string_view part : Components(path)) {
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            if (!stack.empty()) {
                stack.pop_back();
            }
            continue;
        }
        stack.push_back(part);
    }
}

std::string Join(const std::vector<std::string_view>& parts) {
    if (parts.empty()) {
        return "/";
    }
    std::string path;
    for (std::string_view part : parts) {
        path += '/';
        path += part;
    }
    return path;
}

// The part of a host path that ".." never climbs above and that folded paths
// keep as written: on Windows a drive ("C:") or a network share
// ("//server/share"); on POSIX nothing, the root is the leading '/'.
std::string_view RootOf(std::string_view path) {
#ifdef _WIN32
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (drive) {
        return path.substr(0, 2);
    }
    if (path.size() > 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        std::size_t end = 2;
        for (int component = 0; component < 2 && end < path.size(); ++component) {
            end = std::min(path.find_first_of("\\/", end + 1), path.size());
        }
        return path.substr(0, end);
    }
#endif
    (void)path;
    return {};
}

bool IsHostAbsolute(std::string_view path) {
    return !RootOf(path).empty() || (!path.empty() && IsPathSeparator(path.front()));
}

}  // namespace

bool IsAbsoluteName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    return IsPathSeparator(name.front()) || (name.size() >= 2 && name[1] == ':');
}

std::string FoldedPath(std::string_view folder, std::string_view name) {
    // The current folder is read only for a relative folder: a project
    // opened by a bare file name has an empty folder.
    std::string base;
    if (!IsHostAbsolute(folder)) {
        base = HostFs::CurrentFolder();
    }
    const std::string_view root = RootOf(base.empty() ? folder : std::string_view(base));
    std::vector<std::string_view> stack;
    Fold(stack, std::string_view(base).substr(base.empty() ? 0 : root.size()));
    Fold(stack, folder.substr(base.empty() ? root.size() : 0));
    Fold(stack, name);
    return std::string(root) + Join(stack);
}

std::string ParentFolder(std::string_view foldedPath) {
    const std::string root(RootOf(foldedPath));
    const std::string_view rest = foldedPath.substr(root.size());
    const std::size_t last = rest.find_last_of('/');
    if (last == std::string_view::npos || last == 0) {
        return root + "/";
    }
    return root + std::string(rest.substr(0, last));
}

std::string CommonFolder(std::string_view a, std::string_view b) {
    const std::string_view root = RootOf(a);
    if (root != RootOf(b)) {
        return std::string(root) + "/";
    }
    const std::vector<std::string_view> left = Components(a.substr(root.size()));
    const std::vector<std::string_view> right = Components(b.substr(root.size()));
    std::vector<std::string_view> common;
    for (std::size_t i = 0; i < left.size() && i < right.size() && left[i] == right[i]; ++i) {
        common.push_back(left[i]);
    }
    return std::string(root) + Join(common);
}

std::optional<std::string> RelativeBelow(std::string_view root, std::string_view foldedPath) {
    if (root == "/") {
        return std::string(foldedPath.substr(foldedPath.empty() ? 0 : 1));
    }
    if (!root.empty() && root.back() == '/') {  // a drive or share's own root, "C:/"
        if (foldedPath.size() <= root.size() || foldedPath.substr(0, root.size()) != root) {
            return std::nullopt;
        }
        return std::string(foldedPath.substr(root.size()));
    }
    if (foldedPath.size() <= root.size() || foldedPath.substr(0, root.size()) != root ||
        foldedPath[root.size()] != '/') {
        return std::nullopt;
    }
    return std::string(foldedPath.substr(root.size() + 1));
}

std::string_view FolderPart(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/");
    if (last == std::string_view::npos) {
        return path;
    }
    return path.substr(0, last);
}
