#include "depscan/normalizepath.h"

#include <string>

#include "classlib/core/pathrules.h"

namespace {

// The folder compared as path text, without regard to case.
bool StartsWithFolder(std::string_view path, std::string_view folder) {
    return !folder.empty() && path.size() > folder.size() &&
           SamePathText(path.substr(0, folder.size()), folder);
}

// Folds the leftmost "\name\..\" whose name is not "..", giving "\".
bool FoldOneParentReference(std::string& path) {
    static constexpr std::string_view kParent = "\\..\\";
    for (std::size_t at = path.find(kParent); at != std::string::npos;
         at = path.find(kParent, at + 1)) {
        if (at == 0) {
            continue;
        }
        const std::size_t nameStart = path.rfind('\\', at - 1);
        if (nameStart == std::string::npos) {
            continue;
        }
        const std::string_view name(path.data() + nameStart + 1, at - nameStart - 1);
        if (name.empty() || name == "..") {
            continue;
        }
        path.replace(nameStart, at + kParent.size() - nameStart, "\\");
        return true;
    }
    return false;
}

}  // namespace

void NormalizePathText(std::string& path, std::string_view projectFolder) {
    for (char& c : path) {
        c = WithBackslash(c);
    }
    if (path.size() >= 2 && path[0] == '.' && path[1] == '\\') {
        path.erase(0, 2);
    } else if (StartsWithFolder(path, projectFolder)) {
        path.erase(0, projectFolder.size());
    }
    while (path.find("\\..\\") != std::string::npos && FoldOneParentReference(path)) {
    }
}

void NormalizePath(WString& path, std::string_view projectFolder) {
    std::string text = path.Str();
    NormalizePathText(text, projectFolder);
    path.Assign(text);
}
