#include "depscan/depfile.h"

#include "classlib/core/wfilepath.h"
#include "project/projecttree.h"

WString DependencyFilePath(std::string_view projectPath) {
    WString path = WFilePath(projectPath).GetPart(WFilePath::WithoutExtension);
    path.Concat("_dep.Txt");
    return path;
}

ExportResult ExportDependencies(const WTreeStore& tree, std::string_view path, HostFs& fs,
                                std::string* reason) {
    const WTreeItem first = tree.FirstRoot();
    if (first == kNoItem) {
        return ExportResult::EmptyTree;
    }
    // Streamed line by line: the text of a large project runs to hundreds of
    // megabytes and is never held whole. The file is the same on every host.
    const HostStatus status = fs.WriteFileAtomically(path, [&](std::ostream& out) {
        DumpTree(tree, first, out, 0, "\r\n");
        return static_cast<bool>(out);
    });
    if (!status.ok()) {
        if (reason != nullptr) {
            *reason = status.reason;
        }
        return ExportResult::Failed;
    }
    return ExportResult::Written;
}
