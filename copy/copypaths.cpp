#include "copy/copypaths.h"

#include <vector>

#include "classlib/core/hostfs.h"

std::string FoldedPath(std::string_view folder, std::string_view name) {
    // The current folder is read only for a relative folder: a project
    // opened by a bare file name has an empty folder. Without a current
    // folder the path is taken from the root, so it stays absolute.
    std::string path;
    if (!IsHostAbsolutePath(folder)) {
        // A separator before an absolute folder would make "C:" or "/a/b"
        // read as a network share on Windows.
        path = HostFs::CurrentFolder() + "/";
    }
    path.append(folder).append("/").append(name);
    return LexicallyFolded(path);
}

std::string CommonFolder(std::string_view a, std::string_view b) {
    const std::string_view root = HostRootOf(a);
    if (root != HostRootOf(b)) {
        return std::string(root) + "/";
    }
    const std::vector<std::string_view> left = PathComponents(a.substr(root.size()));
    const std::vector<std::string_view> right = PathComponents(b.substr(root.size()));
    std::string common(root);
    for (std::size_t i = 0; i < left.size() && i < right.size() && left[i] == right[i]; ++i) {
        common.append("/").append(left[i]);
    }
    return common.size() == root.size() ? common + "/" : common;
}

std::optional<std::string> RelativeBelow(std::string_view root, std::string_view foldedPath) {
    // A root that ends in a separator is a drive's or the host's own root.
    const std::size_t prefix = !root.empty() && root.back() == '/' ? root.size() : root.size() + 1;
    if (foldedPath.size() <= prefix || foldedPath.substr(0, root.size()) != root ||
        foldedPath[prefix - 1] != '/') {
        return std::nullopt;
    }
    return std::string(foldedPath.substr(prefix));
}

std::string_view FolderPart(std::string_view path) {
    const std::string_view folder = FolderOfPath(path);
    return folder.empty() ? path : folder.substr(0, folder.size() - 1);
}
