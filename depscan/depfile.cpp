#include "depscan/depfile.h"

#include <string>

#include "classlib/core/wfilepath.h"
#include "project/projecttree.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

WString DependencyFilePath(std::string_view projectPath) {
    WString path = WFilePath(projectPath).GetPart(WFilePath::WithoutExtension);
    path.Concat("_dep.Txt");
    return path;
}

ExportResult ExportDependencies(const WTreeStore& tree, std::string_view path, HostFs& fs,
                                std::string* reason, std::size_t nodeLimit, std::size_t* lines) {
    const WTreeItem first = tree.FirstRoot();
    if (first == kNoItem) {
        return ExportResult::EmptyTree;
    }
    // Streamed line by line: the text of a large project runs to hundreds of
    // megabytes and is never held whole. The file is the same on every host.
    std::size_t written = 0;
    bool stopped = false;
    const HostStatus status = fs.WriteFileAtomically(path, [&](std::ostream& out) {
        written = 0;
        stopped = !DumpTree(tree, first, out, 0, kLineEnd, nodeLimit, &written);
        return static_cast<bool>(out);
    });
    if (lines != nullptr) {
        *lines = written;
    }
    if (!status.ok()) {
        if (reason != nullptr) {
            *reason = status.reason;
        }
        return ExportResult::Failed;
    }
    return stopped ? ExportResult::Stopped : ExportResult::Written;
}
