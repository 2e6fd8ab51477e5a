#include "copy/copypaths.h"

#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/pathrules.h"

namespace {

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

}  // namespace

std::string FoldedPath(std::string_view folder, std::string_view name) {
    // The current folder is read only for a relative folder: a project
    // opened by a bare file name has an empty folder. The leading '/' keeps
    // the result absolute even when the current folder cannot be read.
    std::string path = "/";
    if (folder.empty() || !IsPathSeparator(folder.front())) {
        path += HostFs::CurrentFolder();
    }
    path.append("/").append(folder).append("/").append(name);
    return LexicallyFolded(path);
}

std::string CommonFolder(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> left = PathComponents(a);
    const std::vector<std::string_view> right = PathComponents(b);
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
