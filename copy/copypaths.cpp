#include "copy/copypaths.h"

#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/pathrules.h"

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

bool IsHostAbsolute(std::string_view path) {
    return !path.empty() && IsPathSeparator(path.front());
}

}  // namespace

std::string FoldedPath(std::string_view folder, std::string_view name) {
    // The current folder is read only for a relative folder: a project
    // opened by a bare file name has an empty folder.
    std::string base;
    if (!IsHostAbsolute(folder)) {
        base = HostFs::CurrentFolder();
    }
    std::vector<std::string_view> stack;
    Fold(stack, base);
    Fold(stack, folder);
    Fold(stack, name);
    return Join(stack);
}

std::string CommonFolder(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> left = Components(a);
    const std::vector<std::string_view> right = Components(b);
    std::vector<std::string_view> common;
    for (std::size_t i = 0; i < left.size() && i < right.size() && left[i] == right[i]; ++i) {
        common.push_back(left[i]);
    }
    return Join(common);
}

std::optional<std::string> RelativeBelow(std::string_view root, std::string_view foldedPath) {
    if (root == "/") {
        return std::string(foldedPath.substr(foldedPath.empty() ? 0 : 1));
    }
    if (foldedPath.size() <= root.size() || foldedPath.substr(0, root.size()) != root ||
        foldedPath[root.size()] != '/') {
        return std::nullopt;
    }
    return std::string(foldedPath.substr(root.size() + 1));
}

std::string_view FolderPart(std::string_view path) {
    const std::string_view folder = FolderOfPath(path);
    return folder.empty() ? path : folder.substr(0, folder.size() - 1);
}
